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

void KNNumberField::setIdleSignificantDigits(int digits) {
    idleDigits = digits;
    showValue();
}

void KNNumberField::showValue() {
    setText(showsIdleText() ? roundedText(_doubleValue, idleDigits) : textFor(_doubleValue));
}

void KNNumberField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // The exact value to edit, in place of its rounded form.
    if (idleDigits > 0 && text() == roundedText(_doubleValue, idleDigits)) {
        setText(textFor(_doubleValue));
    }
}

void KNNumberField::focusOutEvent(QFocusEvent* event) {
    // Commits an edit (editingFinished) before the rounded form comes back.
    QLineEdit::focusOutEvent(event);
    if (idleDigits > 0) {
        showValue();
    }
}

namespace {
// "1e-09" and "1e+300" as people write them: "1e-9", "1e300".
QString withPlainExponent(QString text) {
    static const QRegularExpression exponent(QStringLiteral("e\\+?(-?)0*(\\d)"));
    return text.replace(exponent, QStringLiteral("e\\1\\2"));
}
} // namespace

QString KNNumberField::roundedText(double value, int digits) {
    std::array<char, 64> buffer{};
    char* const first = buffer.data();
    const auto rounded =
        std::to_chars(first, first + buffer.size(), value, std::chars_format::general, digits);
    return withPlainExponent(QString::fromLatin1(first, rounded.ptr - first));
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
    return withPlainExponent(QString::fromLatin1(first, shortest.ptr - first));
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
