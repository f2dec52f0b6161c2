#include "Vector3.h"

#include "GeometryExpectations.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using kinora::Vector3;
using kinora::testing::expectBits;

namespace {

TEST(Vector3, LengthIsTakenInSinglePrecision) {
    EXPECT_EQ(Vector3(3, 4, 12).length(), 13.0);
    const double root2 = Vector3(1, 1, 0).length();
    EXPECT_EQ(root2, static_cast<double>(std::sqrt(2.0f)));
    EXPECT_NE(root2, std::sqrt(2.0));
}

TEST(Vector3, NormalizeLeavesVectorsWithoutDirectionAlone) {
    Vector3 zero;
    zero.normalize();
    expectBits(zero, 0, 0, 0);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    Vector3 withNaN(nan, 1, 2);
    withNaN.normalize();
    EXPECT_TRUE(std::isnan(withNaN.x));
    EXPECT_EQ(withNaN.y, 1.0);
    EXPECT_EQ(withNaN.z, 2.0);
}

TEST(Vector3, NormalizeScalesByTheReciprocalOfTheSinglePrecisionLength) {
    Vector3 v(1, 1, 0);
    Vector3& result = v.normalize();
    EXPECT_EQ(&result, &v);
    const double r = 1.0 / static_cast<double>(std::sqrt(2.0f));
    expectBits(v, r, r, 0);
}

TEST(Vector3, CrossProductsOfTheAxesFollowTheRightHandRule) {
    Vector3 x = kinora::xAxis;
    Vector3 y = kinora::yAxis;
    expectBits(x.cross(kinora::yAxis), 0, 0, 1);
    expectBits(y.cross(kinora::xAxis), 0, 0, -1);
    expectBits(y.cross(kinora::zAxis), 1, 0, 0);
}

TEST(Vector3, ArithmeticIsComponentwise) {
    expectBits(Vector3(1, 2, 3) + Vector3(10, 20, 30), 11, 22, 33);
    expectBits(Vector3(1, 2, 3) - Vector3(10, 20, 30), -9, -18, -27);
    expectBits(Vector3(1, 2, 3) * 2.0, 2, 4, 6);
    Vector3 v(1, 2, 3);
    v += 1.0;
    expectBits(v, 2, 3, 4);
    v *= 0.5;
    expectBits(v, 1, 1.5, 2);
    v += Vector3(1, 1, 1);
    expectBits(v, 2, 2.5, 3);
}

TEST(Vector3, UnaryMinusFlipsTheSignOfZero) {
    const Vector3 v = -Vector3(0, 1, -2);
    expectBits(v, 0, -1, 2);
    EXPECT_TRUE(std::signbit(v.x));
}

TEST(Vector3, DotSumsXAndYBeforeZ) {
    // (1e16 + 1) - 1e16 loses the 1 only when summed in this order.
    Vector3 a(1e16, 1, -1e16);
    EXPECT_EQ(a.dot(Vector3(1, 1, 1)), (1e16 + 1.0) + -1e16);
    EXPECT_EQ(Vector3(1, 2, 3).dot(Vector3(4, 5, 6)), 32.0);
}

} // namespace
