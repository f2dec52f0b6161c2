#pragma once

#include "KNNumberParser.h"

#include <QLineEdit>
#include <QString>
#include <functional>
#include <optional>

// A one-line field for a number. It accepts what a person types (decimal or scientific
// notation, the desktop's decimal separator too) and never puts a different number in place of
// the one typed: an edit is committed by Return or by leaving the field, and text that is no
// finite number, or a value the field's check refuses, is refused - valueRefused says why and
// the field shows the value in force again. Escape puts the value in force back while editing.
class KNNumberField : public QLineEdit {
    Q_OBJECT

public:
    // Why a value cannot be taken, or nothing when it can.
    using Check = std::function<std::optional<QString>(double value)>;

    explicit KNNumberField(QWidget* parent = nullptr);

    void setCheck(Check check) { this->check = std::move(check); }

    double doubleValue() const { return _doubleValue; }
    // Stores value as the value in force and shows it; sends no valueEntered.
    void setDoubleValue(double value);
    // As if the user had entered value: stores and shows it, then sends valueEntered. The check
    // is not asked; the caller vouches for the value.
    void enterDoubleValue(double value);

    // While the field is not being edited it shows the value with this many significant
    // digits (0, the default: as while editing); editing starts from the exact text.
    void setIdleSignificantDigits(int digits);

    // The text shown for value while editing: by default shortestText.
    virtual QString textFor(double value) const { return shortestText(value); }
    // The fewest digits that read back to value exactly, with the C locale's point.
    static QString shortestText(double value);
    // value rounded to digits significant digits, with the C locale's point: "23.0501".
    static QString roundedText(double value, int digits);

signals:
    // The value in force changed, by either setter or by an accepted edit.
    void doubleValueChanged(double value);
    // The user entered value (typed and accepted, or set through enterDoubleValue).
    void valueEntered(double value);
    // A typed text was refused for reason; the field shows the value in force again.
    void valueRefused(const QString& reason);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Shows the value in force; for subclasses whose textFor differs, after construction.
    void showValue();

private:
    void commitEdit();
    bool showsIdleText() const { return idleDigits > 0 && !hasFocus(); }

    int idleDigits = 0;

    double _doubleValue = 0.0;
    Check check;
    KNNumberParser parser;
};
