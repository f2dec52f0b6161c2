#pragma once

#include <cmath>

namespace kinora {

// A point or direction in three dimensions, and the state of a system.
// Every operation is a single componentwise expression in double precision.
struct Vector3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    Vector3() = default;
    Vector3(double x, double y, double z) : x(x), y(y), z(z) {}

    Vector3& operator+=(Vector3 b) {
        x += b.x;
        y += b.y;
        z += b.z;
        return *this;
    }
    Vector3& operator+=(double s) {
        x += s;
        y += s;
        z += s;
        return *this;
    }
    Vector3& operator*=(double s) {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }

    Vector3 operator+(Vector3 b) const { return {x + b.x, y + b.y, z + b.z}; }
    Vector3 operator-(Vector3 b) const { return {x - b.x, y - b.y, z - b.z}; }
    Vector3 operator-() const { return {-x, -y, -z}; }
    Vector3 operator*(double s) const { return {x * s, y * s, z * s}; }

    double dot(Vector3 b) { return (x * b.x + y * b.y) + z * b.z; }
    Vector3 cross(Vector3 b) { return {y * b.z - z * b.y, z * b.x - x * b.z, x * b.y - y * b.x}; }

    // Single precision on purpose: the geometry code was tuned against this rounding.
    double length() {
        const float squared = static_cast<float>(x * x + y * y + z * z);
        return static_cast<double>(std::sqrt(squared));
    }

    // Zero and NaN vectors have no direction and are left as they are.
    Vector3& normalize() {
        const double r = 1.0 / length();
        if (!std::isnan(r) && !std::isinf(r)) {
            *this *= r;
        }
        return *this;
    }
};

// Whether every coordinate is a number: a path that reaches infinity or NaN stops being drawn.
inline bool hasFiniteCoordinates(Vector3 v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

namespace {
const Vector3 xAxis(1.0, 0.0, 0.0);
const Vector3 yAxis(0.0, 1.0, 0.0);
const Vector3 zAxis(0.0, 0.0, 1.0);
} // namespace

} // namespace kinora
