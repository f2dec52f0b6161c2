#include "TimeSeriesLayout.h"

#include <gtest/gtest.h>

namespace kinora {
namespace {

TEST(TimeSeriesLayout, PlotRangesLeaveRoomAndNeverCollapse) {
    const auto single = plotRange(5.0, 5.0);
    EXPECT_LT(single[0], 5.0);
    EXPECT_GT(single[1], 5.0);
    EXPECT_EQ(plotRange(1.0, 0.0), (std::array<double, 2>{-1.0, 1.0}));
}

TEST(TimeSeriesLayout, EveryLabelFitsInThePictureAndThePlotsStackXOnTop) {
    BoundingBox data;
    data.add({-18.5, -24.0, 0.5});
    data.add({19.9, 26.0, 47.0});
    // Wide labels: 7 points a character of "%g".
    const TimeSeriesLabelMetrics metrics{
        [](double value) { return 7.0 * std::to_string(value).size(); }, 14.0};
    for (const auto& [width, height] : {std::pair{800.0, 300.0}, std::pair{300.0, 200.0}}) {
        SCOPED_TRACE(width);
        const TimeSeriesLayout layout = layoutTimeSeries(data, 20.0, width, height, metrics);
        EXPECT_GT(layout.bands[0].area.bottom, layout.bands[1].area.bottom);
        EXPECT_GT(layout.bands[1].area.bottom, layout.bands[2].area.bottom);
        for (int component = 0; component < 3; ++component) {
            const TimeSeriesBand& band = layout.bands[static_cast<std::size_t>(component)];
            EXPECT_LE(band.low, data.lowest(component));
            EXPECT_GE(band.high, data.highest(component));
            EXPECT_GT(band.area.height, 0.0);
            for (double tick : band.ticks) {
                // Right-aligned left of the plot, centred on the tick.
                const double y = band.valueToPicture(tick);
                EXPECT_GE(band.area.left - 4.0 - metrics.labelWidth(tick), 0.0);
                EXPECT_GE(y - metrics.labelHeight / 2.0, 0.0);
                EXPECT_LE(y + metrics.labelHeight / 2.0, height);
            }
        }
        ASSERT_GE(layout.timeTicks.size(), 2u);
        EXPECT_EQ(layout.timeToPicture(0.0), layout.bands[2].area.left);
        for (double tick : layout.timeTicks) {
            const double x = layout.timeToPicture(tick);
            EXPECT_GE(x - metrics.labelWidth(tick) / 2.0, 0.0);
            EXPECT_LE(x + metrics.labelWidth(tick) / 2.0, width);
        }
        EXPECT_GE(layout.bands[2].area.bottom - 4.0 - metrics.labelHeight, 0.0);
    }
    // Too small for plots: empty ones, never negative.
    const TimeSeriesLayout tiny = layoutTimeSeries(data, 20.0, 10.0, 10.0, metrics);
    EXPECT_EQ(tiny.bands[0].area.height, 0.0);
    EXPECT_EQ(tiny.bands[0].area.width, 0.0);
}

} // namespace
} // namespace kinora
