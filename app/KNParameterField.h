#pragma once

#include "KNNumberParser.h"

#include <QLineEdit>
#include <QString>

// The start or end field of a parameter row. It holds a double (the value last set or entered)
// and shows it narrowed to float; its tag names the parameter. An edit is committed by Return
// or by leaving the field: text that is not a finite number is refused, nothing is sent, and
// the field shows its value again.
class KNParameterField : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(int tag READ tag WRITE setTag)

public:
    explicit KNParameterField(QWidget* parent = nullptr);

    int tag() const { return _tag; }
    void setTag(int tag) { _tag = tag; }

    double doubleValue() const { return _doubleValue; }
    // Stores value unchanged and shows it; sends no valueEntered.
    void setDoubleValue(double value);
    // As if the user had entered value: stores and shows it, then sends valueEntered.
    void enterDoubleValue(double value);

    // value narrowed to float, in the fewest digits that read back to that float, with the C
    // locale's point. A value that float cannot hold (beyond its range, or so small it would
    // show as 0) is shown as the double instead, so the field never claims "inf" or "0" for a
    // finite, non-zero value.
    static QString displayText(double value);

signals:
    // The stored value changed, by either setter.
    void doubleValueChanged(double value);
    // The user entered a value: doubleValue() is it, exactly as typed or set by a slider.
    void valueEntered(KNParameterField* field);

private:
    void commitEdit();

    int _tag = 0;
    double _doubleValue = 0.0;
    KNNumberParser parser;
};
