#pragma once

#include "Matrix4.h"

#include <optional>
#include <string>
#include <vector>

namespace kinora {

// Where a view's axes and their tick marks go: each axis is drawn across the part of its line
// that the picture shows, with ticks at round values spaced for reading.
namespace AxisTicks {

// The values t for which t times the unit vector of axis (0 x, 1 y, 2 z) lies inside the view
// volume of toClip (projection × view × model), or nothing when the axis misses it.
struct Interval {
    double from;
    double to;
};
std::optional<Interval> visiblePart(const Matrix4& toClip, int axis);

// The smallest of 1, 2 and 5 times a power of ten that is at least minimum (> 0).
double niceStep(double minimum);

// The multiples of step in the interval but 0, at most mostTicks of them from the start.
std::vector<double> values(Interval interval, double step);
constexpr std::size_t mostTicks = 200;

// value written with just the decimals that step needs: "-10", "2.5", "0.002", or in
// scientific notation when very large or small ("1e+08").
std::string text(double value, double step);

} // namespace AxisTicks

} // namespace kinora
