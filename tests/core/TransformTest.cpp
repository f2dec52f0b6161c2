#include "Transform.h"

#include "GeometryExpectations.h"
#include "Matrix3.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kinora {
namespace {

using testing::expectNear;
using testing::expectNearIdentity;

void expectSameRotation(const Matrix4& actual, const Matrix4& expected) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(actual.m[i], expected.m[i]) << "at m[" << i << "]";
    }
}

bool allFinite(const Matrix4& matrix) {
    for (float entry : matrix.m) {
        if (!std::isfinite(entry)) {
            return false;
        }
    }
    return true;
}

TEST(TransformModel, DefaultIsTheIdentityBothWays) {
    const Transform transform;
    expectNearIdentity(transform.modelMatrix(), 0.0f);
    expectNearIdentity(transform.inverseModelMatrix(), 0.0f);
}

TEST(TransformModel, PlacesThePivotAtThePosition) {
    Transform moved;
    moved.position = Vector3(1, 2, 3);
    expectNear(moved.modelMatrix() * Vector3(0, 0, 0), Vector3(1, 2, 3), 0.0);
    expectNear(moved.inverseModelMatrix() * Vector3(1, 2, 3), Vector3(0, 0, 0), 0.0);

    Transform pivoted;
    pivoted.pivot = Vector3(1, 0, 0);
    pivoted.scale = Vector3(2, 2, 2);
    expectNear(pivoted.modelMatrix() * Vector3(1, 0, 0), Vector3(0, 0, 0), 0.0);
    expectNear(pivoted.modelMatrix() * Vector3(2, 0, 0), Vector3(2, 0, 0), 0.0);
}

TEST(TransformModel, ScalesThenRotatesAboutThePivotThenMoves) {
    Transform transform;
    transform.rotate(90, zAxis);
    transform.position = Vector3(1, 0, 0);
    expectNear(transform.modelMatrix() * Vector3(1, 0, 0), Vector3(1, 1, 0), 1e-6);
    expectNear(transform.inverseModelMatrix() * Vector3(1, 1, 0), Vector3(1, 0, 0), 1e-6);

    // position + rotation (scale * (v - pivot)) with every part different.
    transform.scale = Vector3(2, 3, 1);
    transform.pivot = Vector3(0, 1, 0);
    expectNear(transform.modelMatrix() * Vector3(1, 2, 5), Vector3(1 - 3, 2, 5), 1e-6);
}

TEST(TransformModel, InverseUndoesTheModelForTurnedScaledPivotedObjects) {
    Transform transform;
    transform.rotate(33, Vector3(1, 2, 2).normalize());
    transform.rotate(-71, xAxis);
    transform.scale = Vector3(0.5, 4, 2.5);
    transform.position = Vector3(-3, 7, 0.25);
    transform.pivot = Vector3(1.5, -2, 9);
    expectNearIdentity(transform.inverseModelMatrix() * transform.modelMatrix(), 1e-5f);
    expectNearIdentity(transform.modelMatrix() * transform.inverseModelMatrix(), 1e-5f);

    const Vector3 p(4, -1, 2);
    expectNear(transform.inverseModelMatrix() * (transform.modelMatrix() * p), p, 1e-4);
}

TEST(TransformModel, ZeroScaleHasNoFiniteInverse) {
    Transform flat;
    flat.scale = Vector3(1, 0, 1);
    EXPECT_TRUE(std::isinf(flat.inverseModelMatrix().m[5]));
}

TEST(TransformRotation, ParentAndLocalAxes) {
    Transform parent;
    parent.rotate(90, zAxis);
    parent.rotate(90, xAxis);
    // The object's x axis now points along parent y, then the parent x turn takes it to z.
    expectNear(Matrix3(parent.rotation) * xAxis, zAxis, 1e-6);

    Transform local;
    local.rotate(90, zAxis);
    local.rotateLocal(90, xAxis);
    // A turn about the object's own x axis (parent y) leaves that axis where it is.
    expectNear(Matrix3(local.rotation) * xAxis, yAxis, 1e-6);
    expectNear(Matrix3(local.rotation) * yAxis, zAxis, 1e-6);

    local.resetRotation();
    expectSameRotation(local.rotation, Matrix4());
}

TEST(TransformMotion, TranslateAndScale) {
    Transform transform;
    transform.translate(2, Vector3(1, 0, -1));
    expectNear(transform.position, Vector3(2, 0, -2), 0.0);

    transform.rotate(90, zAxis);
    transform.translateLocal(3, xAxis);
    expectNear(transform.position, Vector3(2, 3, -2), 1e-6);

    transform.scaleBy(2);
    expectNear(transform.scale, Vector3(2, 2, 2), 0.0);
    transform.addToScale(1);
    expectNear(transform.scale, Vector3(3, 3, 3), 0.0);
    transform.scaleBy(0.1f);
    EXPECT_EQ(transform.scale.x, 3.0 * static_cast<double>(0.1f));
}

TEST(TransformLookAt, TargetAheadLeavesTheRotationAlone) {
    Transform transform;
    transform.position = Vector3(1, 2, 3);
    transform.lookAt(Vector3(1, 2, -10), yAxis);
    expectSameRotation(transform.rotation, Matrix4());

    Transform turned;
    turned.rotate(40, yAxis);
    const Matrix4 before = turned.rotation;
    turned.lookAt(Matrix3(turned.rotation) * -zAxis * 5.0, yAxis);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(turned.rotation.m[i], before.m[i], 1e-3f) << "at m[" << i << "]";
    }
}

TEST(TransformLookAt, FacesTheTargetWithUpLeaningTowardUp) {
    Transform transform;
    transform.position = Vector3(0, 0, 0);
    const Vector3 up = Vector3(0, 1, 1).normalize();
    transform.lookAt(Vector3(3, 0, 0), up);
    const Matrix3 axes(transform.rotation);
    expectNear(axes * -zAxis, xAxis, 1e-3);
    // Up made perpendicular to the view is (0, 1, 1) normalised.
    expectNear(axes * yAxis, up, 1e-3);
}

TEST(TransformLookAt, TurnsAroundForATargetBehind) {
    Transform transform;
    transform.lookAt(Vector3(0, 0, 4), yAxis);
    const Matrix3 axes(transform.rotation);
    expectNear(axes * -zAxis, zAxis, 1e-6);
    expectNear(axes * yAxis, yAxis, 1e-6);
    EXPECT_TRUE(allFinite(transform.rotation));

    // Up opposite the current one: a half turn about the viewing axis.
    Transform upsideDown;
    upsideDown.lookAt(Vector3(0, 0, -1), -yAxis);
    const Matrix3 flipped(upsideDown.rotation);
    expectNear(flipped * -zAxis, -zAxis, 1e-6);
    expectNear(flipped * yAxis, -yAxis, 1e-6);
}

// Targets straight behind, where rounding leaves the forward axis and the way to the target
// not quite opposite.
TEST(TransformLookAt, TurnsAroundDespiteRounding) {
    struct Case {
        float degrees;
        Vector3 axis;
        Vector3 position;
    };
    // A dot product of -1.0000001, and a cross product of rounding noise (about 1e-18).
    const Case cases[] = {{106, xAxis, Vector3(0, 0, 0)},
                          {3, Vector3(1, 2, 3).normalize(), Vector3(0.3, -1.7, 2.9)}};
    for (const Case& c : cases) {
        Transform transform;
        transform.rotate(c.degrees, c.axis);
        transform.position = c.position;
        const Vector3 back = Matrix3(transform.rotation) * zAxis;
        transform.lookAt(c.position + back * 3.0, yAxis);
        EXPECT_TRUE(allFinite(transform.rotation));
        expectNear(Matrix3(transform.rotation) * -zAxis, back, 1e-5);
    }
}

TEST(TransformLookAt, DegenerateRequestsChangeNothing) {
    Transform atTarget;
    atTarget.position = Vector3(1, 1, 1);
    atTarget.lookAt(Vector3(1, 1, 1), yAxis);
    expectSameRotation(atTarget.rotation, Matrix4());

    Transform upAlongView;
    upAlongView.lookAt(Vector3(0, 0, -1), zAxis);
    expectSameRotation(upAlongView.rotation, Matrix4());
}

} // namespace
} // namespace kinora
