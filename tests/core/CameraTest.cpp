#include "Camera.h"

#include "GeometryExpectations.h"

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

} // namespace
} // namespace kinora
