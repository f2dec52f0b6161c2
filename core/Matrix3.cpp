#include "Matrix3.h"

namespace kinora {

Matrix3::Matrix3(const Matrix4& matrix)
    : m{matrix.m[0], matrix.m[1], matrix.m[2], matrix.m[4], matrix.m[5],
        matrix.m[6], matrix.m[8], matrix.m[9], matrix.m[10]} {}

Vector3 Matrix3::operator*(Vector3 v) const {
    double out[3];
    for (int i = 0; i < 3; ++i) {
        out[i] = (v.x * static_cast<double>(m[i]) + v.y * static_cast<double>(m[3 + i])) +
                 v.z * static_cast<double>(m[6 + i]);
    }
    return {out[0], out[1], out[2]};
}

Matrix3& Matrix3::transpose() {
    for (int r = 0; r < 3; ++r) {
        for (int c = r + 1; c < 3; ++c) {
            const float swapped = m[3 * c + r];
            m[3 * c + r] = m[3 * r + c];
            m[3 * r + c] = swapped;
        }
    }
    return *this;
}

} // namespace kinora
