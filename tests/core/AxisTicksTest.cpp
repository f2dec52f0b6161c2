#include "AxisTicks.h"

#include "Camera.h"

#include <gtest/gtest.h>

namespace {

using namespace kinora;

TEST(AxisTicks, StepsAreOneTwoOrFiveTimesAPowerOfTenAndWrittenWithTheDecimalsTheyNeed) {
    EXPECT_DOUBLE_EQ(AxisTicks::niceStep(0.3), 0.5);
    EXPECT_DOUBLE_EQ(AxisTicks::niceStep(1.0), 1.0);
    EXPECT_DOUBLE_EQ(AxisTicks::niceStep(1.01), 2.0);
    EXPECT_DOUBLE_EQ(AxisTicks::niceStep(7.0), 10.0);
    EXPECT_DOUBLE_EQ(AxisTicks::niceStep(0.0012), 0.002);
    EXPECT_EQ(AxisTicks::values({-25.0, 12.0}, 10.0), (std::vector<double>{-20.0, -10.0, 10.0}));
    EXPECT_EQ(AxisTicks::values({-1e9, 1e9}, 1.0).size(), AxisTicks::mostTicks);
    EXPECT_EQ(AxisTicks::text(-10.0, 5.0), "-10");
    EXPECT_EQ(AxisTicks::text(0.006, 0.002), "0.006");
    EXPECT_EQ(AxisTicks::text(0.3, 0.1), "0.3");
    EXPECT_EQ(AxisTicks::text(2e8, 1e8), "2e+08");
    EXPECT_EQ(AxisTicks::text(-0.0, 50.0), "0");
    EXPECT_EQ(AxisTicks::text(-3 * 0.1 + 0.3 - 1e-17, 0.1), "0.0");
}

TEST(AxisTicks, AnAxisIsVisibleAcrossThePictureAndNotWhenItPassesOutside) {
    Camera camera;
    camera.setFrustum(-1.0f, 1.0f, -1.0f, 1.0f, 2.0f, 60.0f);
    camera.transform.position = Vector3(0.0, 0.0, 10.0);
    Matrix4 toClip = camera.updateProjection().projection * camera.viewMatrix();
    // At the eye's distance of 10 with the near plane at 2, the picture spans ±5 at the origin.
    const auto x = AxisTicks::visiblePart(toClip, 0);
    ASSERT_TRUE(x);
    EXPECT_NEAR(x->from, -5.0, 1e-4);
    EXPECT_NEAR(x->to, 5.0, 1e-4);
    // Seen end-on, z runs from the far plane to the near one.
    const auto z = AxisTicks::visiblePart(toClip, 2);
    ASSERT_TRUE(z);
    EXPECT_NEAR(z->from, -50.0, 1e-3);
    EXPECT_NEAR(z->to, 8.0, 1e-4);
    // Moved aside, the y axis leaves the picture.
    camera.transform.position = Vector3(20.0, 0.0, 10.0);
    toClip = camera.updateProjection().projection * camera.viewMatrix();
    EXPECT_FALSE(AxisTicks::visiblePart(toClip, 1));
}

} // namespace
