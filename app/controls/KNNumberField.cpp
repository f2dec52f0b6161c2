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

QString KNNumberField::roundedText(double value, int digits) {
    return QString::fromStdString(kinora::roundedNumberText(value, digits));
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
