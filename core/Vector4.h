#pragma once

namespace kinora {

// Four components in one value: a clear or border colour.
struct Vector4 {
    double x;
    double y;
    double z;
    double w;

    Vector4(double x, double y, double z, double w) : x(x), y(y), z(z), w(w) {}
};

} // namespace kinora
