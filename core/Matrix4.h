#pragma once

#include "Vector3.h"

#include <ostream>

namespace kinora {

// A 4x4 single-precision matrix, column-major, handed to the shader programs unchanged.
// Element (r, c) is m[4 * c + r]. Every transformation composes on the left, so the last call is
// the last one applied to a point.
struct Matrix4 {
    float m[16];

    // The identity.
    Matrix4();
    // The values are given row by row: a0 ... a3 is row 0.
    Matrix4(float a0, float a1, float a2, float a3, float a4, float a5, float a6, float a7,
            float a8, float a9, float a10, float a11, float a12, float a13, float a14, float a15);

    void setIdentity();

    Matrix4 operator*(const Matrix4& b) const;
    Matrix4& operator*=(const Matrix4& b);
    // p as a point (w = 1), in double precision; the bottom row is ignored and nothing is divided.
    Vector3 operator*(Vector3 p) const;

    Matrix4& transpose();
    Matrix4& translate(float x, float y, float z);
    Matrix4& scale(float x, float y, float z);
    // The axis is taken as given: only a unit axis yields a rotation, a zero axis the identity.
    Matrix4& rotate(float degrees, Vector3 axis);
    Matrix4& rotateX(float degrees);
    Matrix4& rotateY(float degrees);
    Matrix4& rotateZ(float degrees);

    // Write only the entries that carry the volume's bounds; the rest keep their values.
    Matrix4& setOrthographicEntries(float left, float right, float bottom, float top, float near,
                                    float far);
    Matrix4& setFrustumEntries(float left, float right, float bottom, float top, float near,
                               float far);
};

// Four lines, one per row, entries separated by ", "; each line ends with std::endl.
std::ostream& operator<<(std::ostream& stream, const Matrix4& matrix);

} // namespace kinora
