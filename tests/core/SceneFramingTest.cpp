#include "SceneFraming.h"

#include "Transform.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace kinora {
namespace {

// The window coordinates (-1 ... 1 inside the picture) of a scene point, as the draw pass has it,
// and its distance in front of the eye.
Vector3 normalisedDevice(Camera camera, const Transform& scene, Vector3 point) {
    const Vector3 eye = camera.viewMatrix() * (scene.modelMatrix() * point);
    const float* m = camera.updateProjection().projection.m;
    const double w = m[3] * eye.x + m[7] * eye.y + m[11] * eye.z + m[15];
    return {(m[0] * eye.x + m[4] * eye.y + m[8] * eye.z + m[12]) / w,
            (m[1] * eye.x + m[5] * eye.y + m[9] * eye.z + m[13]) / w, -eye.z};
}

class SceneFraming : public ::testing::TestWithParam<Camera::Projection> {};

TEST_P(SceneFraming, ShowsEveryFinitePointFillingTheViewAndIgnoresTheRest) {
    Camera camera;
    camera.setFrustum(-1.6f, 1.6f, -1.0f, 1.0f, 2.0f, 60.0f);
    camera.transform.position = Vector3(0, 0, 10);
    camera.kind = GetParam();
    constexpr double inf = std::numeric_limits<double>::infinity();
    const std::vector<Vector3> finite = {{-18, -24, 3}, {20, 27, 48}, {1, 1, 1}, {-7, 12, 30}};
    BoundingBox box;
    for (Vector3 point : finite) {
        box.add(point);
    }
    BoundingBox withDivergence = box;
    withDivergence.add({std::nan(""), 0, 0});
    withDivergence.add({1e6, inf, 0});

    for (float turn : {0.0f, 35.0f, 120.0f}) {
        SCOPED_TRACE(turn);
        Transform scene;
        scene.rotate(turn, Vector3(0.6, 0.8, 0));
        const kinora::SceneFraming framing = frameBox(withDivergence, scene.rotation, camera, 0.05);
        const kinora::SceneFraming clean = frameBox(box, scene.rotation, camera, 0.05);
        EXPECT_EQ(framing.scale, clean.scale);
        scene.pivot = framing.pivot;
        scene.scale = Vector3(framing.scale, framing.scale, framing.scale);

        double widest = 0.0;
        for (Vector3 point : finite) {
            const Vector3 ndc = normalisedDevice(camera, scene, point);
            EXPECT_LE(std::abs(ndc.x), 1.0);
            EXPECT_LE(std::abs(ndc.y), 1.0);
            EXPECT_GT(ndc.z, 2.0);
            EXPECT_LT(ndc.z, 60.0);
            widest = std::max({widest, std::abs(ndc.x), std::abs(ndc.y)});
        }
        // Unturned, the box's corners are the extreme points, so they nearly touch the edge.
        if (turn == 0.0f) {
            EXPECT_GT(widest, 0.9);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothProjections, SceneFraming,
                         ::testing::Values(Camera::Projection::perspective,
                                           Camera::Projection::orthographic));

TEST_P(SceneFraming, DegenerateBoxesKeepScaleOneAndPanFollowsTheCursor) {
    Camera camera;
    camera.setFrustum(-1.0f, 1.0f, -1.0f, 1.0f, 2.0f, 60.0f);
    camera.transform.position = Vector3(0, 0, 10);
    camera.kind = GetParam();
    EXPECT_EQ(frameBox(BoundingBox(), Matrix4(), camera, 0.1).scale, 1.0);
    BoundingBox point;
    point.add({3, 4, 5});
    const kinora::SceneFraming framing = frameBox(point, Matrix4(), camera, 0.1);
    EXPECT_EQ(framing.scale, 1.0);
    EXPECT_EQ(framing.pivot.x, 3.0);

    // At 10 units the view is 10 units high: 50 points of a 500-point view move it by one unit.
    const Vector3 moved = panTranslation(50, -100, 500, camera, Vector3());
    EXPECT_NEAR(moved.x, 1.0, 1e-6);
    EXPECT_NEAR(moved.y, -2.0, 1e-6);
    EXPECT_EQ(moved.z, 0.0);
    // Farther away a point moves more in perspective; the same in orthographic.
    const Vector3 far = panTranslation(50, 0, 500, camera, Vector3(0, 0, -10));
    EXPECT_NEAR(far.x, GetParam() == Camera::Projection::perspective ? 2.0 : 1.0, 1e-6);
}

} // namespace
} // namespace kinora
