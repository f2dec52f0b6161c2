#include "Parameter.h"

namespace kinora {

namespace {
const char* const unnamed = "unnamed";
}

Parameter::Parameter() : Parameter(unnamed, 0.0, 0.0, 0.0) {}
Parameter::Parameter(const std::string& name) : Parameter(name, 0.0, 0.0, 0.0) {}
Parameter::Parameter(double v) : Parameter(unnamed, v, v, v) {}
Parameter::Parameter(const std::string& name, double v) : Parameter(name, v, v, v) {}
Parameter::Parameter(const std::string& name, double value, double min, double max)
    : _value(value), _min(min), _max(max), name(name) {}

void Parameter::setValueAtFraction(double t) {
    if (t < 0.0) {
        t = 0.0;
    }
    if (t > 1.0) {
        t = 1.0;
    }
    _value = _min + (_max - _min) * t;
}

double Parameter::valueFraction() const {
    return (_value - _min) / (_max - _min);
}

std::ostream& operator<<(std::ostream& stream, const Parameter& parameter) {
    return stream << parameter.value();
}

} // namespace kinora
