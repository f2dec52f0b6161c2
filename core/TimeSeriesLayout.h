#pragma once

#include "BoundingBox.h"

#include <array>
#include <functional>
#include <vector>

namespace kinora {

// The values a plot of data from low to high shows: the data's range with a little room above
// and below; a single value gets a range around it, and no data at all the range -1 ... 1.
std::array<double, 2> plotRange(double low, double high);

// A rectangle in points, origin at the lower left.
struct PlotArea {
    double left = 0.0;
    double bottom = 0.0;
    double width = 0.0;
    double height = 0.0;
};

// value' = value * scale + offset.
struct Affine {
    double scale = 1.0;
    double offset = 0.0;
    double operator()(double value) const { return value * scale + offset; }
};

// One of the three stacked plots: component 0 (x), 1 (y) or 2 (z) of the state against t.
struct TimeSeriesBand {
    PlotArea area;
    double low = -1.0;
    double high = 1.0;
    std::vector<double> ticks;
    // A value to its height in the picture, in points.
    Affine valueToPicture;
};

// Where the three plots x(t), y(t), z(t) of a seed's paths sit in a picture, sharing the t axis
// at the bottom, with room left for every tick label so nothing is cut off.
struct TimeSeriesLayout {
    std::array<TimeSeriesBand, 3> bands;
    std::vector<double> timeTicks;
    // A time to its place across the picture, in points.
    Affine timeToPicture;
};

// How the picture's texts measure, in points.
struct TimeSeriesLabelMetrics {
    // The width of the tick label of a value.
    std::function<double(double)> labelWidth;
    double labelHeight = 12.0;
};

// The layout of a width x height picture (points) for paths whose points lie in data over the
// times 0 ... duration. Plots never get a negative size, however small the picture.
TimeSeriesLayout layoutTimeSeries(const BoundingBox& data, double duration, double width,
                                  double height, const TimeSeriesLabelMetrics& metrics);

} // namespace kinora
