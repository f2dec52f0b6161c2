#pragma once

#include "Matrix4.h"
#include "Vector3.h"

#include <gtest/gtest.h>

namespace kinora::testing {

// Element (row, column) of a column-major matrix.
inline float at(const Matrix4& matrix, int row, int column) {
    return matrix.m[4 * column + row];
}

inline void expectNearIdentity(const Matrix4& matrix, float tolerance) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(at(matrix, r, c), r == c ? 1.0f : 0.0f, tolerance)
                << "at (" << r << ", " << c << ")";
        }
    }
}

// Exact equality of each component, as every step of the numerics must reproduce.
inline void expectBits(Vector3 v, double x, double y, double z) {
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.z, z);
}

inline void expectNear(Vector3 actual, Vector3 expected, double tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

} // namespace kinora::testing
