#include "KNSliderScale.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

TEST(SliderScale, ChoosesARoundReachAboveTheValue) {
    struct Case {
        double value, lower, upper;
    };
    for (const Case& c :
         {Case{0.0, 0, 50}, Case{28.0, 0, 50}, Case{40.0, 0, 50}, Case{45.0, 0, 100},
          Case{10.0, 0, 20}, Case{5.7, 0, 10}, Case{0.208, 0, 0.5}, Case{500.0, 0, 1000},
          Case{-3.0, -5, 5}, Case{-28.0, -50, 50}, Case{1000.0, 0, 2000}, Case{80.0, 0, 100}}) {
        const KNSliderScale scale = KNSliderScale::around(c.value);
        EXPECT_EQ(scale.lowerBound(), c.lower) << c.value;
        EXPECT_EQ(scale.upperBound(), c.upper) << c.value;
        EXPECT_TRUE(scale.contains(c.value)) << c.value;
    }
}

TEST(SliderScale, CoversLorenzRhoWithRoundSteps) {
    const KNSliderScale scale = KNSliderScale::around(0.0);
    EXPECT_EQ(scale.minimumPosition(), 0);
    EXPECT_EQ(scale.maximumPosition(), 1000);
    EXPECT_EQ(scale.valueAt(560), 28.0);
    EXPECT_EQ(scale.valueAt(561), 28.05);
    EXPECT_EQ(scale.valueAt(200), 10.0);
    EXPECT_EQ(KNSliderScale::around(0.208).valueAt(417), 0.2085);
    EXPECT_EQ(KNSliderScale::around(-3.0).valueAt(-600), -3.0);
}

TEST(SliderScale, PositionsAndValuesRoundTrip) {
    for (double value : {0.0, 0.208, 28.0, -3.0, 7e5, 3e-9}) {
        const KNSliderScale scale = KNSliderScale::around(value);
        for (int p = scale.minimumPosition(); p <= scale.maximumPosition(); ++p) {
            ASSERT_EQ(scale.positionOf(scale.valueAt(p)), p) << value;
        }
    }
}

TEST(SliderScale, ClampsPositionsAndStaysFiniteAtTheExtremes) {
    const KNSliderScale lorenz = KNSliderScale::around(28.0);
    EXPECT_EQ(lorenz.positionOf(28.01), 560);
    EXPECT_EQ(lorenz.positionOf(1e9), 1000);
    EXPECT_EQ(lorenz.positionOf(-1.0), 0);
    EXPECT_EQ(lorenz.positionOf(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(lorenz.positionOf(-std::numeric_limits<double>::infinity()), 0);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(KNSliderScale::around(nan), KNSliderScale::around(0.0));
    EXPECT_EQ(KNSliderScale::around(inf), KNSliderScale::around(0.0));
    struct Case {
        double value;
        int position;
    };
    for (const Case& c :
         {Case{1e308, 1000}, Case{-1e308, -1000}, Case{5e-324, 0}, Case{-1e-200, 0}}) {
        const KNSliderScale scale = KNSliderScale::around(c.value);
        EXPECT_TRUE(std::isfinite(scale.lowerBound())) << c.value;
        EXPECT_TRUE(std::isfinite(scale.upperBound())) << c.value;
        EXPECT_GT(scale.valueAt(1), 0.0) << c.value;
        EXPECT_EQ(scale.positionOf(c.value), c.position) << c.value;
    }
}

} // namespace
