#include "KNNumberField.h"

#include <QKeyEvent>
#include <QRegularExpression>
#include <array>
#include <charconv>
#include <cstddef>
#include <system_error>

KNNumberField::KNNumberField(QWidget* parent) : QLineEdit(parent) {
    showValue();
    connect(this, &QLineEdit::editingFinished, this, &KNNumberField::commitEdit);
}

void KNNumberField::setDoubleValue(double value) {
    _doubleValue = value;
    showValue();
    emit doubleValueChanged(value);
}

void KNNumberField::enterDoubleValue(double value) {
    setDoubleValue(value);
    emit valueEntered(value);
}

QString KNNumberField::shortestText(double value) {
    // Plain decimals up to this length read more easily than an exponent ("0.0001", not
    // "1e-04"); beyond it the exponent is the shorter and clearer form.
    constexpr std::ptrdiff_t longestPlainDecimal = 8;
    std::array<char, 400> buffer{};
    char* const first = buffer.data();
    const auto fixed = std::to_chars(first, first + buffer.size(), value, std::chars_format::fixed);
    if (fixed.ec == std::errc() && fixed.ptr - first <= longestPlainDecimal) {
        return QString::fromLatin1(first, fixed.ptr - first);
    }
    const auto shortest = std::to_chars(first, first + buffer.size(), value);
    QString text = QString::fromLatin1(first, shortest.ptr - first);
    // "1e-09" and "1e+300" as people write them: "1e-9", "1e300".
    static const QRegularExpression exponent(QStringLiteral("e\\+?(-?)0*(\\d)"));
    return text.replace(exponent, QStringLiteral("e\\1\\2"));
}

void KNNumberField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && text() != textFor(_doubleValue)) {
        showValue();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void KNNumberField::commitEdit() {
    // Return on an untouched field must not replace the stored value by its rounded display.
    if (text() == textFor(_doubleValue)) {
        return;
    }
    const QString typed = text().trimmed();
    const std::optional<double> value = parser.parse(typed);
    std::optional<QString> refusal;
    if (!value) {
        // Whatever was pasted, the message stays one line long.
        constexpr int shownCharacters = 40;
        const QString shown = typed.size() > shownCharacters
                                  ? typed.left(shownCharacters) + QStringLiteral("…")
                                  : typed;
        refusal = typed.isEmpty() ? tr("An empty field is no number.")
                                  : tr("\"%1\" is not a finite number.").arg(shown);
    } else if (check) {
        refusal = check(*value);
    }
    if (refusal) {
        showValue();
        emit valueRefused(*refusal);
        return;
    }
    enterDoubleValue(*value);
}
