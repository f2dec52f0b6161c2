#pragma once

#include <ostream>
#include <string>

namespace kinora {

// A named parameter with its current value and the start (min) and end (max) of its sweep.
// No order between the three numbers is enforced: a sweep may run downward.
class Parameter {
public:
    Parameter();
    explicit Parameter(const std::string& name);
    explicit Parameter(double v);
    Parameter(const std::string& name, double v);
    Parameter(const std::string& name, double value, double min, double max);

    double value() const { return _value; }
    double min() const { return _min; }
    double max() const { return _max; }
    void setValue(double v) { _value = v; }
    void setMin(double v) { _min = v; }
    void setMax(double v) { _max = v; }

    // Clamps t to [0, 1]; a NaN passes through and yields a NaN value.
    void setValueAtFraction(double t);
    // The value at fraction s of the way from min to max, unclamped: the sweep's own formula.
    double valueAtFraction(double s) const { return _min + (_max - _min) * s; }
    // Unguarded: equal ends give an infinity or NaN.
    double valueFraction() const;

private:
    double _value;
    double _min;
    double _max;

public:
    std::string name;
};

// Writes only the value, as the stream formats a double.
std::ostream& operator<<(std::ostream& stream, const Parameter& parameter);

} // namespace kinora
