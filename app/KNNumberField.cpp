#include "KNNumberField.h"

#include "NumberText.h"

#include <QKeyEvent>

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
    return QString::fromStdString(kinora::shortestNumberText(value));
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
