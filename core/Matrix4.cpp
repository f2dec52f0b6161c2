#include "Matrix4.h"

#include <cmath>

namespace kinora {

namespace {

constexpr double pi = 3.141592653589793;

// Degrees to radians in double, rounded once to single precision.
float radians(float degrees) {
    return static_cast<float>(degrees * pi / 180.0);
}

// Turns rows a and b of every column by degrees in their plane: a rotation about the third axis.
Matrix4& rotateRows(Matrix4& matrix, float degrees, int a, int b) {
    const float theta = radians(degrees);
    const float c = std::cos(theta);
    const float s = std::sin(theta);
    for (int col = 0; col < 4; ++col) {
        const float rowA = matrix.m[4 * col + a];
        const float rowB = matrix.m[4 * col + b];
        matrix.m[4 * col + a] = c * rowA - s * rowB;
        matrix.m[4 * col + b] = s * rowA + c * rowB;
    }
    return matrix;
}

} // namespace

Matrix4::Matrix4() {
    setIdentity();
}

Matrix4::Matrix4(float a0, float a1, float a2, float a3, float a4, float a5, float a6, float a7,
                 float a8, float a9, float a10, float a11, float a12, float a13, float a14,
                 float a15)
    : m{a0, a4, a8, a12, a1, a5, a9, a13, a2, a6, a10, a14, a3, a7, a11, a15} {}

void Matrix4::setIdentity() {
    for (int i = 0; i < 16; ++i) {
        m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
    }
}

Matrix4 Matrix4::operator*(const Matrix4& b) const {
    Matrix4 product;
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            float sum = m[r] * b.m[4 * c];
            for (int k = 1; k < 4; ++k) {
                sum += m[4 * k + r] * b.m[4 * c + k];
            }
            product.m[4 * c + r] = sum;
        }
    }
    return product;
}

Matrix4& Matrix4::operator*=(const Matrix4& b) {
    // Through a temporary, so that a *= a reads only the original entries.
    *this = *this * b;
    return *this;
}

Vector3 Matrix4::operator*(Vector3 p) const {
    double out[3];
    for (int i = 0; i < 3; ++i) {
        out[i] = ((p.x * static_cast<double>(m[i]) + p.y * static_cast<double>(m[4 + i])) +
                  p.z * static_cast<double>(m[8 + i])) +
                 static_cast<double>(m[12 + i]);
    }
    return {out[0], out[1], out[2]};
}

Matrix4& Matrix4::transpose() {
    for (int r = 0; r < 4; ++r) {
        for (int c = r + 1; c < 4; ++c) {
            const float swapped = m[4 * c + r];
            m[4 * c + r] = m[4 * r + c];
            m[4 * r + c] = swapped;
        }
    }
    return *this;
}

Matrix4& Matrix4::translate(float x, float y, float z) {
    for (int c = 0; c < 4; ++c) {
        const float w = m[4 * c + 3];
        m[4 * c + 0] += w * x;
        m[4 * c + 1] += w * y;
        m[4 * c + 2] += w * z;
    }
    return *this;
}

Matrix4& Matrix4::scale(float x, float y, float z) {
    for (int c = 0; c < 4; ++c) {
        m[4 * c + 0] *= x;
        m[4 * c + 1] *= y;
        m[4 * c + 2] *= z;
    }
    return *this;
}

// Through the unit quaternion (cos h, sin h * axis) with h half the angle, all in single
// precision; the rounding of this route is what the views were tuned against.
Matrix4& Matrix4::rotate(float degrees, Vector3 axis) {
    const float theta = radians(degrees);
    const float h = static_cast<float>(static_cast<double>(theta) / 2.0);
    const float s = std::sin(h);
    const float c = std::cos(h);
    const float qx = static_cast<float>(s * axis.x);
    const float qy = static_cast<float>(s * axis.y);
    const float qz = static_cast<float>(s * axis.z);

    const float xx = 2.0f * qx * qx;
    const float yy = 2.0f * qy * qy;
    const float zz = 2.0f * qz * qz;
    const float xy = 2.0f * qx * qy;
    const float xz = 2.0f * qx * qz;
    const float yz = 2.0f * qy * qz;
    const float cx = 2.0f * c * qx;
    const float cy = 2.0f * c * qy;
    const float cz = 2.0f * c * qz;

    const Matrix4 r(1.0f - yy - zz, xy - cz, xz + cy, 0.0f, //
                    xy + cz, 1.0f - xx - zz, yz - cx, 0.0f, //
                    xz - cy, yz + cx, 1.0f - xx - yy, 0.0f, //
                    0.0f, 0.0f, 0.0f, 1.0f);
    *this = r * *this;
    return *this;
}

Matrix4& Matrix4::rotateX(float degrees) {
    return rotateRows(*this, degrees, 1, 2);
}

Matrix4& Matrix4::rotateY(float degrees) {
    return rotateRows(*this, degrees, 2, 0);
}

Matrix4& Matrix4::rotateZ(float degrees) {
    return rotateRows(*this, degrees, 0, 1);
}

// m(2, 2) is +2 / (far - near): depth grows toward far, unlike the perspective entries.
Matrix4& Matrix4::setOrthographicEntries(float left, float right, float bottom, float top,
                                         float near, float far) {
    m[0] = 2.0f / (right - left);
    m[5] = 2.0f / (top - bottom);
    m[10] = 2.0f / (far - near);
    m[12] = -(right + left) / (right - left);
    m[13] = -(top + bottom) / (top - bottom);
    m[14] = -(far + near) / (far - near);
    return *this;
}

Matrix4& Matrix4::setFrustumEntries(float left, float right, float bottom, float top, float near,
                                    float far) {
    const float twoNear = 2.0f * near;
    m[0] = twoNear / (right - left);
    m[5] = twoNear / (top - bottom);
    m[8] = (right + left) / (right - left);
    m[9] = (top + bottom) / (top - bottom);
    m[10] = -(far + near) / (far - near);
    m[11] = -1.0f;
    m[14] = -twoNear * far / (far - near);
    m[15] = 0.0f;
    return *this;
}

std::ostream& operator<<(std::ostream& stream, const Matrix4& matrix) {
    for (int r = 0; r < 4; ++r) {
        stream << matrix.m[r] << ", " << matrix.m[4 + r] << ", " << matrix.m[8 + r] << ", "
               << matrix.m[12 + r] << std::endl;
    }
    return stream;
}

} // namespace kinora
