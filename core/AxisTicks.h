#pragma once

#include "Matrix4.h"

#include <functional>
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

// The finest of 1, 2 and 5 times a power of ten that puts at most maxCount (>= 2) of its
// multiples in [low, high] (low < high, both finite). Rounding a rough step up instead could
// leave a single tick where three fit.
double roundStep(double low, double high, int maxCount);

// The step of ticks along an axis of `pixels` showing [low, high] (low < high, both finite): the
// finest round step with ticks at most one per `spacing` pixels whose labels, extent(text)
// pixels long, keep `gap` pixels clear of each other. A short axis gets two ticks rather than one
// round value far from the data, as long as their labels fit.
double labelledStep(double low, double high, double pixels, double spacing, double gap,
                    const std::function<double(const std::string&)>& extent);

// Tick values at a round spacing (1, 2 or 5 times a power of ten) inside [low, high], at most
// maxCount of them and at least one when the range is finite.
std::vector<double> roundTicks(double low, double high, int maxCount);

// value written with just the decimals that step needs: "-10", "2.5", "0.002", or in
// scientific notation when very large or small ("1e+08").
std::string text(double value, double step);

} // namespace AxisTicks

} // namespace kinora
