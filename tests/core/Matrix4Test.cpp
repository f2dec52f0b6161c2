#include "Matrix4.h"

#include "GeometryExpectations.h"
#include "Matrix3.h"

#include <cmath>
#include <gtest/gtest.h>
#include <sstream>

namespace kinora {
namespace {

using testing::at;
using testing::expectNear;

const Matrix4 oneToSixteen(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);

void expectSameEntries(const Matrix4& actual, const Matrix4& expected) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(actual.m[i], expected.m[i]) << "at m[" << i << "]";
    }
}

TEST(Matrix4Storage, ValuesAreGivenByRowAndStoredByColumn) {
    EXPECT_EQ(oneToSixteen.m[0], 1.0f);
    EXPECT_EQ(oneToSixteen.m[1], 5.0f);
    EXPECT_EQ(oneToSixteen.m[2], 9.0f);
    EXPECT_EQ(oneToSixteen.m[3], 13.0f);
    EXPECT_EQ(oneToSixteen.m[12], 4.0f);
    EXPECT_EQ(at(oneToSixteen, 2, 1), 10.0f);

    Matrix4 matrix = oneToSixteen;
    matrix.setIdentity();
    expectSameEntries(matrix, Matrix4());
    testing::expectNearIdentity(Matrix4(), 0.0f);
}

TEST(Matrix4Product, MultipliesRowsByColumns) {
    const Matrix4 square = oneToSixteen * oneToSixteen;
    expectSameEntries(square, Matrix4(90, 100, 110, 120, 202, 228, 254, 280, 314, 356, 398, 440,
                                      426, 484, 542, 600));

    Matrix4 inPlace = oneToSixteen;
    inPlace *= inPlace;
    expectSameEntries(inPlace, square);
}

TEST(Matrix4Product, KeepsTheOrderOfItsFactors) {
    const Matrix4 move = Matrix4().translate(1, 2, 3);
    const Matrix4 grow = Matrix4().scale(2, 2, 2);
    const Matrix4 moveAfterGrowing = move * grow;
    const Matrix4 growAfterMoving = grow * move;
    EXPECT_EQ(moveAfterGrowing.m[12], 1.0f);
    EXPECT_EQ(moveAfterGrowing.m[14], 3.0f);
    EXPECT_EQ(growAfterMoving.m[12], 2.0f);
    EXPECT_EQ(growAfterMoving.m[14], 6.0f);
}

TEST(Matrix4Product, AccumulatesInSinglePrecisionInColumnOrder) {
    // 1e8 + 1 rounds back to 1e8 in single precision, so the 1 is lost before -1e8 arrives.
    const Matrix4 row(1e8f, 1, -1e8f, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    const Matrix4 ones(1, 0, 0, 0, 1, 1, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1);
    EXPECT_EQ(at(row * ones, 0, 0), 0.0f);
}

TEST(Matrix4PointTransform, IdentityAndTranslation) {
    const Vector3 p(0.1, -7.25, 1e-300);
    const Vector3 same = Matrix4() * p;
    EXPECT_EQ(same.x, p.x);
    EXPECT_EQ(same.y, p.y);
    EXPECT_EQ(same.z, p.z);

    Matrix4 move;
    move.translate(1, 2, 3);
    EXPECT_EQ(move.m[12], 1.0f);
    EXPECT_EQ(move.m[13], 2.0f);
    EXPECT_EQ(move.m[14], 3.0f);
    const Vector3 moved = move * Vector3(0, 0, 0);
    EXPECT_EQ(moved.x, 1.0);
    EXPECT_EQ(moved.y, 2.0);
    EXPECT_EQ(moved.z, 3.0);
    const Vector3 direction = Matrix3(move) * Vector3(4, 5, 6);
    EXPECT_EQ(direction.x, 4.0);
    EXPECT_EQ(direction.y, 5.0);
    EXPECT_EQ(direction.z, 6.0);
}

TEST(Matrix4PointTransform, WidensEntriesToDoubleAndIgnoresTheBottomRow) {
    Matrix4 matrix;
    matrix.scale(0.1f, 1, 1);
    matrix.m[12] = 1.0f;
    matrix.m[3] = 5.0f; // bottom row: no w, no division
    matrix.m[15] = 2.0f;
    const Vector3 out = matrix * Vector3(3, 1, 1);
    EXPECT_EQ(out.x, 3.0 * static_cast<double>(0.1f) + 1.0);
    EXPECT_EQ(out.y, 1.0);

    const Vector3 turned = Matrix3(matrix) * Vector3(3, 0, 0);
    EXPECT_EQ(turned.x, 3.0 * static_cast<double>(0.1f));
}

TEST(Matrix4Transformations, ScaleLeavesTheBottomRow) {
    Matrix4 matrix = oneToSixteen;
    matrix.scale(2, 3, 4);
    expectSameEntries(matrix, Matrix4(2, 4, 6, 8, 15, 18, 21, 24, 36, 40, 44, 48, 13, 14, 15, 16));
}

TEST(Matrix4Transformations, TranslateAddsTheBottomRowTimesTheOffset) {
    Matrix4 matrix = oneToSixteen;
    matrix.translate(1, 0, -1);
    expectSameEntries(matrix, Matrix4(14, 16, 18, 20, 5, 6, 7, 8, -4, -4, -4, -4, 13, 14, 15, 16));
}

TEST(Matrix4Transformations, EachCallComposesOnTheLeft) {
    Matrix4 built;
    built.translate(1, 2, 3).rotate(30, Vector3(0, 0.6, 0.8)).scale(2, 3, 4);

    const Matrix4 t = Matrix4().translate(1, 2, 3);
    const Matrix4 r = Matrix4().rotate(30, Vector3(0, 0.6, 0.8));
    const Matrix4 s = Matrix4().scale(2, 3, 4);
    expectSameEntries(built, s * (r * t));

    // The last call acts last on a point: the scale applies to the translated, rotated point.
    const Vector3 p(1, -1, 0.5);
    expectNear(built * p, s * (r * (t * p)), 1e-5);
}

TEST(Matrix4Rotation, RotateZTakesSinglePrecisionSineAndCosine) {
    Matrix4 matrix;
    matrix.rotateZ(90);
    EXPECT_EQ(static_cast<double>(at(matrix, 0, 0)), -4.371138828673793e-08);
    EXPECT_EQ(static_cast<double>(at(matrix, 1, 1)), -4.371138828673793e-08);
    EXPECT_EQ(at(matrix, 1, 0), 1.0f);
    EXPECT_EQ(at(matrix, 0, 1), -1.0f);
    EXPECT_EQ(at(matrix, 2, 2), 1.0f);
}

TEST(Matrix4Rotation, AxisRotationsAreRightHanded) {
    expectNear(Matrix4().rotateX(90) * yAxis, zAxis, 1e-7);
    expectNear(Matrix4().rotateY(90) * zAxis, xAxis, 1e-7);
    expectNear(Matrix4().rotateZ(90) * xAxis, yAxis, 1e-7);
    // They act on what is already there, on the left.
    expectNear(Matrix4().translate(1, 0, 0).rotateY(-90) * Vector3(0, 0, 0), zAxis, 1e-7);
}

TEST(Matrix4Rotation, RotateGoesThroughTheSinglePrecisionQuaternion) {
    Matrix4 matrix;
    matrix.rotate(90, zAxis);
    const float tiny = std::ldexp(1.0f, -24);
    EXPECT_EQ(at(matrix, 0, 0), tiny);
    EXPECT_EQ(at(matrix, 1, 1), tiny);
    EXPECT_EQ(at(matrix, 1, 0), 1.0f - tiny);
    EXPECT_EQ(at(matrix, 0, 1), -(1.0f - tiny));
    EXPECT_EQ(at(matrix, 2, 2), 1.0f);
}

TEST(Matrix4Rotation, AgreesWithTheAxisRotations) {
    const Matrix4 general = Matrix4().rotate(37, xAxis);
    const Matrix4 special = Matrix4().rotateX(37);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(general.m[i], special.m[i], 1e-6f) << "at m[" << i << "]";
    }
    expectNear(Matrix4().rotate(120, Vector3(1, 1, 1).normalize()) * xAxis, yAxis, 1e-6);
}

TEST(Matrix4Rotation, AxisIsTakenAsGiven) {
    Matrix4 still = oneToSixteen;
    still.rotate(73, Vector3(0, 0, 0));
    expectSameEntries(still, oneToSixteen);

    // A doubled axis doubles the quaternion's vector part: 1 - 2 (2 sin 45)^2 = -3.
    const Matrix4 stretched = Matrix4().rotate(90, Vector3(0, 0, 2));
    EXPECT_NEAR(at(stretched, 0, 0), -3.0f, 1e-6f);
}

TEST(Matrix4Projection, FrustumWritesOnlyItsEightEntries) {
    Matrix4 matrix;
    matrix.setFrustumEntries(-1, 1, -1, 1, 1, 10);
    EXPECT_EQ(at(matrix, 0, 0), 1.0f);
    EXPECT_EQ(at(matrix, 1, 1), 1.0f);
    EXPECT_EQ(at(matrix, 0, 2), 0.0f);
    EXPECT_EQ(at(matrix, 1, 2), 0.0f);
    EXPECT_EQ(at(matrix, 2, 2), static_cast<float>(-11.0 / 9.0));
    EXPECT_EQ(at(matrix, 2, 3), static_cast<float>(-20.0 / 9.0));
    EXPECT_EQ(at(matrix, 3, 2), -1.0f);
    EXPECT_EQ(at(matrix, 3, 3), 0.0f);

    Matrix4 untouched = oneToSixteen;
    untouched.setFrustumEntries(-2, 4, -1, 3, 1, 10);
    EXPECT_EQ(at(untouched, 0, 2), 1.0f / 3.0f);
    EXPECT_EQ(at(untouched, 1, 2), 0.5f);
    for (int i : {1, 2, 3, 4, 6, 7, 12, 13}) {
        EXPECT_EQ(untouched.m[i], oneToSixteen.m[i]) << "at m[" << i << "]";
    }
}

TEST(Matrix4Projection, OrthographicWritesOnlyItsSixEntries) {
    Matrix4 matrix;
    matrix.setOrthographicEntries(-1, 1, -1, 1, -1, 1);
    EXPECT_EQ(at(matrix, 0, 0), 1.0f);
    EXPECT_EQ(at(matrix, 1, 1), 1.0f);
    EXPECT_EQ(at(matrix, 2, 2), 1.0f);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(at(matrix, row, 3), 0.0f);
        EXPECT_TRUE(std::signbit(at(matrix, row, 3))) << "row " << row;
    }

    Matrix4 untouched = oneToSixteen;
    untouched.setOrthographicEntries(0, 4, 0, 2, 1, 3);
    EXPECT_EQ(at(untouched, 0, 0), 0.5f);
    EXPECT_EQ(at(untouched, 2, 2), 1.0f);
    EXPECT_EQ(at(untouched, 0, 3), -1.0f);
    EXPECT_EQ(at(untouched, 1, 3), -1.0f);
    EXPECT_EQ(at(untouched, 2, 3), -2.0f);
    for (int i : {1, 2, 3, 4, 6, 7, 8, 9, 11, 15}) {
        EXPECT_EQ(untouched.m[i], oneToSixteen.m[i]) << "at m[" << i << "]";
    }
}

TEST(Matrix4Transpose, SwapsRowsAndColumnsAndUndoesItself) {
    Matrix4 matrix = oneToSixteen;
    matrix.transpose();
    expectSameEntries(matrix, Matrix4(1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 4, 8, 12, 16));
    matrix.transpose();
    expectSameEntries(matrix, oneToSixteen);
}

TEST(Matrix3, TakesTheUpperLeftBlockAndTransposes) {
    Matrix3 block(oneToSixteen);
    const float expected[9] = {1, 5, 9, 2, 6, 10, 3, 7, 11};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(block.m[i], expected[i]) << "at m[" << i << "]";
    }
    const Vector3 out = block * Vector3(1, 0, -1);
    EXPECT_EQ(out.x, -2.0);
    EXPECT_EQ(out.y, -2.0);
    EXPECT_EQ(out.z, -2.0);

    block.transpose();
    const float transposed[9] = {1, 2, 3, 5, 6, 7, 9, 10, 11};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(block.m[i], transposed[i]) << "at m[" << i << "]";
    }
}

// Counts flushes so the test can see that every line is flushed.
class CountingBuffer : public std::stringbuf {
public:
    int syncs = 0;

protected:
    int sync() override {
        ++syncs;
        return std::stringbuf::sync();
    }
};

TEST(Matrix4Output, PrintsFourFlushedRows) {
    CountingBuffer buffer;
    std::ostream stream(&buffer);
    Matrix4 matrix = oneToSixteen;
    matrix.m[0] = 0.5f;
    stream << matrix;
    EXPECT_EQ(buffer.str(), "0.5, 2, 3, 4\n5, 6, 7, 8\n9, 10, 11, 12\n13, 14, 15, 16\n");
    EXPECT_EQ(buffer.syncs, 4);
}

} // namespace
} // namespace kinora
