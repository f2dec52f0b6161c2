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
    EXPECT_EQ(AxisTicks::roundTicks(0.0, 10.0, 6), (std::vector<double>{0, 2, 4, 6, 8, 10}));
    EXPECT_EQ(AxisTicks::roundTicks(-0.37, 0.81, 4), (std::vector<double>{0.0, 0.5}));
    EXPECT_EQ(AxisTicks::roundTicks(-23.0, -1.0, 4), (std::vector<double>{-20, -15, -10, -5}));
    // A range about zero still gets a tick either side of it.
    EXPECT_EQ(AxisTicks::roundTicks(-22.0, 22.0, 4), (std::vector<double>{-20, 0, 20}));
    EXPECT_EQ(AxisTicks::roundTicks(3.0, 3.0, 5), (std::vector<double>{3.0}));
    EXPECT_TRUE(AxisTicks::roundTicks(0.0, std::numeric_limits<double>::infinity(), 5).empty());
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

TEST(AxisTicks, AShortAxisGetsTwoTicksWhoseLabelsKeepClear) {
    const auto sevenPixelsPerCharacter = [](const std::string& text) {
        return 7.0 * static_cast<double>(text.size());
    };
    // A step rounded up from the 56-pixel spacing, 20, would leave 0 as the only tick.
    EXPECT_DOUBLE_EQ(
        AxisTicks::labelledStep(-18.0, 19.0, 150.0, 56.0, 6.0, sevenPixelsPerCharacter), 10.0);
    // Labels such as "10000" need 41 pixels: in 100 pixels only ticks 20000 apart keep clear.
    EXPECT_DOUBLE_EQ(
        AxisTicks::labelledStep(0.0, 30000.0, 100.0, 10.0, 6.0, sevenPixelsPerCharacter), 20000.0);
}
