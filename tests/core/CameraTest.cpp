#include "Camera.h"

#include "AxisView.h"
#include "GeometryExpectations.h"
#include "Matrix3.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kinora {
namespace {

using testing::at;
using testing::expectNear;
using testing::expectNearIdentity;

TEST(CameraView, DefaultSeesFromTheOrigin) {
    const Camera camera;
    expectNearIdentity(camera.projection, 0.0f);
    expectNearIdentity(camera.viewMatrix(), 0.0f);
    expectNearIdentity(camera.inverseViewMatrix(), 0.0f);
    EXPECT_EQ(camera.zoom, 1.0f);
}

TEST(CameraView, MovesTheWorldOppositeTheEye) {
    Camera camera;
    camera.transform.position = Vector3(0, 0, 5);
    expectNear(camera.viewMatrix() * Vector3(0, 0, 0), Vector3(0, 0, -5), 0.0);
    expectNear(camera.inverseViewMatrix() * Vector3(0, 0, 0), Vector3(0, 0, 5), 0.0);
}

TEST(CameraView, InverseViewUndoesViewForATurnedEye) {
    Camera camera;
    camera.transform.rotate(50, Vector3(0.6, 0, 0.8));
    camera.transform.position = Vector3(2, -1, 10);
    expectNearIdentity(camera.inverseViewMatrix() * camera.viewMatrix(), 1e-5f);
}

TEST(CameraView, LooksDownItsOwnMinusZ) {
    Camera camera;
    camera.transform.rotate(90, yAxis);
    camera.transform.position = Vector3(5, 1, 0);
    // Scale and pivot belong to objects; the eye ignores them.
    camera.transform.scale = Vector3(3, 3, 3);
    camera.transform.pivot = Vector3(1, 1, 1);
    // Turned a quarter about y, the eye looks along world -x.
    expectNear(camera.viewMatrix() * Vector3(2, 1, 0), Vector3(0, 0, -3), 1e-6);
    expectNear(camera.viewMatrix() * Vector3(5, 2, 0), Vector3(0, 1, 0), 1e-6);
}

TEST(CameraProjection, UpdateWritesThePerspectiveOfTheStoredBounds) {
    Camera camera;
    camera.setFrustum(-1, 1, -1, 1, 2, 60);
    expectNearIdentity(camera.projection, 0.0f);

    Camera& updated = camera.updateProjection();
    EXPECT_EQ(&updated, &camera);
    EXPECT_EQ(at(camera.projection, 0, 0), 2.0f);
    EXPECT_EQ(at(camera.projection, 1, 1), 2.0f);
    EXPECT_EQ(at(camera.projection, 3, 2), -1.0f);
    EXPECT_EQ(at(camera.projection, 3, 3), 0.0f);
    EXPECT_EQ(at(camera.projection, 0, 3), 0.0f);
    EXPECT_EQ(at(camera.projection, 3, 0), 0.0f);

    // Clip-space w is the distance in front of the eye.
    const Matrix4& p = camera.projection;
    EXPECT_EQ(at(p, 3, 0) * 1.0f + at(p, 3, 1) * 2.0f + at(p, 3, 2) * -9.0f + at(p, 3, 3), 9.0f);
}

TEST(CameraProjection, ZoomScalesTheNearPlane) {
    Camera camera;
    camera.setFrustum(-1, 1, -1, 1, 2, 60);
    camera.zoom = 2.0f;
    camera.updateProjection();
    EXPECT_EQ(at(camera.projection, 0, 0), 4.0f);
    EXPECT_EQ(at(camera.projection, 2, 3), -2.0f * 4.0f * 60.0f / 56.0f);
}

TEST(CameraProjection, BoundsAreUsableBeforeTheOwnerSetsThem) {
    Camera camera;
    camera.updateProjection();
    for (float entry : camera.projection.m) {
        EXPECT_TRUE(std::isfinite(entry));
    }
}

TEST(CameraProjection, OrthographicStoresAndWritesAtOnce) {
    Camera camera;
    camera.setOrthographic(0, 4, 0, 2, 1, 3);
    EXPECT_EQ(camera.left, 0.0f);
    EXPECT_EQ(camera.right, 4.0f);
    EXPECT_EQ(camera.bottom, 0.0f);
    EXPECT_EQ(camera.top, 2.0f);
    EXPECT_EQ(camera.near, 1.0f);
    EXPECT_EQ(camera.far, 3.0f);
    EXPECT_EQ(at(camera.projection, 0, 0), 0.5f);
    EXPECT_EQ(at(camera.projection, 0, 3), -1.0f);
    EXPECT_EQ(at(camera.projection, 3, 3), 1.0f);
}

// Where an eye-space point lands in the picture (-1 ... 1) and in depth (-1 near ... 1 far).
Vector3 clipped(const Matrix4& p, Vector3 eye) {
    const float* m = p.m;
    const double w = m[3] * eye.x + m[7] * eye.y + m[11] * eye.z + m[15];
    return {(m[0] * eye.x + m[4] * eye.y + m[8] * eye.z + m[12]) / w,
            (m[1] * eye.x + m[5] * eye.y + m[9] * eye.z + m[13]) / w,
            (m[2] * eye.x + m[6] * eye.y + m[10] * eye.z + m[14]) / w};
}

TEST(CameraProjection, OrthographicShowsTheFocusPlaneAsPerspectiveDoesAndSwitchesBack) {
    Camera camera;
    camera.setFrustum(-1.5f, 1.5f, -1, 1, 2, 60);
    camera.transform.position = Vector3(0, 0, 10);
    const Vector3 onFocus = clipped(camera.updateProjection().projection, {3, 2, -10});
    const Vector3 farther = clipped(camera.projection, {3, 2, -40});
    const Matrix4 perspective = camera.projection;

    camera.kind = Camera::Projection::orthographic;
    const Matrix4& orthographic = camera.updateProjection().projection;
    EXPECT_NEAR(clipped(orthographic, {3, 2, -10}).x, onFocus.x, 1e-6);
    EXPECT_NEAR(clipped(orthographic, {3, 2, -10}).y, onFocus.y, 1e-6);
    EXPECT_NEAR(clipped(orthographic, {3, 2, -40}).x, onFocus.x, 1e-6);
    EXPECT_LT(farther.x, onFocus.x);
    // Depth runs over the same volume: just inside near and far stay inside.
    EXPECT_GT(clipped(orthographic, {0, 0, -2.01}).z, -1.0);
    EXPECT_LT(clipped(orthographic, {0, 0, -59.9}).z, 1.0);
    EXPECT_DOUBLE_EQ(camera.halfHeightAt(40), 5.0);

    camera.kind = Camera::Projection::perspective;
    camera.updateProjection();
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(camera.projection.m[i], perspective.m[i]) << "at m[" << i << "]";
    }
    EXPECT_DOUBLE_EQ(camera.halfHeightAt(40), 20.0);
}

TEST(AxisView, LooksAlongEachAxisWithARightHandedPictureWhateverTheEye) {
    const struct {
        ViewAxis axis;
        Vector3 right, up, towardViewer;
    } views[] = {
        {ViewAxis::x, yAxis, zAxis, xAxis},
        {ViewAxis::y, xAxis, zAxis, Vector3(0, -1, 0)},
        {ViewAxis::z, xAxis, yAxis, zAxis},
    };
    Camera camera;
    camera.transform.rotate(30, xAxis);
    camera.transform.rotate(50, yAxis);
    for (const auto& view : views) {
        Transform scene;
        scene.rotation = sceneRotationLookingAlong(view.axis, camera.transform.rotation);
        const Matrix3 toEye(camera.viewMatrix() * scene.modelMatrix());
        expectNear(toEye * view.right, xAxis, 1e-6);
        expectNear(toEye * view.up, yAxis, 1e-6);
        expectNear(toEye * view.towardViewer, zAxis, 1e-6);
        EXPECT_EQ(scene.rotation.m[15], 1.0f);
    }
}

} // namespace
} // namespace kinora
