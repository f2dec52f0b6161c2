#pragma once

#include "Matrix4.h"
#include "Vector3.h"

namespace kinora {

// The upper-left 3x3 block of a Matrix4, for turning directions. Column-major: element (r, c)
// is m[3 * c + r].
struct Matrix3 {
    float m[9];

    explicit Matrix3(const Matrix4& matrix);

    // v as a direction, in double precision.
    Vector3 operator*(Vector3 v) const;

    Matrix3& transpose();
};

} // namespace kinora
