#include "TimeSeriesLayout.h"

#include "AxisTicks.h"

#include <algorithm>
#include <cmath>

namespace kinora {

namespace {

// The gap between a tick label and its tick, and the tick's length.
constexpr double gap = 4.0;
constexpr double tickLength = 4.0;

Affine mapping(double fromLow, double fromHigh, double toLow, double toHigh) {
    const double scale = (toHigh - toLow) / (fromHigh - fromLow);
    return {scale, toLow - fromLow * scale};
}

} // namespace

std::array<double, 2> plotRange(double low, double high) {
    if (!(low <= high) || !std::isfinite(low) || !std::isfinite(high)) {
        return {-1.0, 1.0};
    }
    if (high == low) {
        const double half = low == 0.0 ? 1.0 : std::abs(low) * 0.1;
        return {low - half, high + half};
    }
    const double room = (high - low) * 0.05;
    return {low - room, high + room};
}

TimeSeriesLayout layoutTimeSeries(const BoundingBox& data, double duration, double width,
                                  double height, const TimeSeriesLabelMetrics& metrics) {
    TimeSeriesLayout layout;
    const double lineHeight = metrics.labelHeight;

    // The bands share the height left under a top margin (half a label: the top tick's label
    // is centred on the edge) and above the t axis' labels; a label's height between bands
    // keeps their edge labels apart.
    const double top = lineHeight / 2.0 + gap;
    const double bottom = tickLength + gap + lineHeight + gap;
    const double bandHeight = std::max(0.0, (height - top - bottom - 2.0 * lineHeight) / 3.0);
    // Ticks at most this many are more than a band / count apart: two and a half labels.
    const int valueTickCount = std::max(2, static_cast<int>(bandHeight / (2.5 * lineHeight)));

    double widestLabel = 0.0;
    for (int component = 0; component < 3; ++component) {
        TimeSeriesBand& band = layout.bands[static_cast<std::size_t>(component)];
        const auto [low, high] = plotRange(data.lowest(component), data.highest(component));
        band.low = low;
        band.high = high;
        band.ticks = AxisTicks::roundTicks(low, high, valueTickCount);
        for (double tick : band.ticks) {
            widestLabel = std::max(widestLabel, metrics.labelWidth(tick));
        }
    }

    // The t labels are centred under their ticks: half the widest of them stays free on the
    // right, and they are spaced by twice the width of the end's label.
    const double end = duration > 0.0 && std::isfinite(duration) ? duration : 1.0;
    const double left = gap + widestLabel + gap + tickLength;
    const double endLabel = std::max(metrics.labelWidth(end), lineHeight);
    const int timeTickCount =
        std::max(2, static_cast<int>((width - left - endLabel / 2.0 - gap) / (2.0 * endLabel)));
    layout.timeTicks = AxisTicks::roundTicks(0.0, end, timeTickCount);
    double widestTime = 0.0;
    for (double tick : layout.timeTicks) {
        widestTime = std::max(widestTime, metrics.labelWidth(tick));
    }
    const double plotWidth = std::max(0.0, width - left - widestTime / 2.0 - gap);
    layout.timeToPicture = mapping(0.0, end, left, left + plotWidth);

    for (int component = 0; component < 3; ++component) {
        TimeSeriesBand& band = layout.bands[static_cast<std::size_t>(component)];
        // x on top, z at the bottom.
        const double areaBottom = bottom + (2 - component) * (bandHeight + lineHeight);
        band.area = {left, areaBottom, plotWidth, bandHeight};
        band.valueToPicture = mapping(band.low, band.high, areaBottom, areaBottom + bandHeight);
    }
    return layout;
}

} // namespace kinora
