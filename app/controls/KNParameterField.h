#pragma once

#include "KNNumberField.h"

#include <QString>

// The start or end field of a parameter row: a number field that shows its double narrowed to
// float, with a tag that names the parameter.
class KNParameterField : public KNNumberField {
    Q_OBJECT
    Q_PROPERTY(int tag READ tag WRITE setTag)

public:
    explicit KNParameterField(QWidget* parent = nullptr);

    int tag() const { return _tag; }
    void setTag(int tag) { _tag = tag; }

    QString textFor(double value) const override { return displayText(value); }

    // value narrowed to float, in the fewest digits that read back to that float, with the C
    // locale's point. A value that float cannot hold (beyond its range, or so small it would
    // show as 0) is shown as the double instead, so the field never claims "inf" or "0" for a
    // finite, non-zero value.
    static QString displayText(double value);

private:
    int _tag = 0;
};
