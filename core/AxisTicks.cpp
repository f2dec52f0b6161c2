#include "AxisTicks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace kinora::AxisTicks {

namespace {

// How many multiples of step lie in [low, high]; a bound that is itself a multiple of the
// step, up to rounding, counts.
double multiplesWithin(double low, double high, double step) {
    return std::floor(high / step + 1e-9) - std::ceil(low / step - 1e-9) + 1.0;
}

} // namespace

std::optional<Interval> visiblePart(const Matrix4& toClip, int axis) {
    // Along the line the clip coordinates are a + t b: the origin's column plus t times the
    // axis' column. Each side of the volume keeps w ± c >= 0, a bound on t.
    const float* m = toClip.m;
    const double a[4] = {m[12], m[13], m[14], m[15]};
    const double b[4] = {m[4 * axis], m[4 * axis + 1], m[4 * axis + 2], m[4 * axis + 3]};
    // Far beyond any scene a view can frame: keeps an axis seen end-on finite.
    double from = -1e9;
    double to = 1e9;
    for (int component = 0; component < 3; ++component) {
        for (const double sign : {1.0, -1.0}) {
            const double value = a[3] + sign * a[component];
            const double slope = b[3] + sign * b[component];
            if (std::abs(slope) < std::numeric_limits<double>::min()) {
                if (value < 0.0) {
                    return std::nullopt;
                }
            } else if (slope > 0.0) {
                from = std::max(from, -value / slope);
            } else {
                to = std::min(to, -value / slope);
            }
        }
    }
    if (!(from < to)) {
        return std::nullopt;
    }
    return Interval{from, to};
}

double roundStep(double low, double high, int maxCount) {
    const double rough = (high - low) / std::max(1, maxCount - 1);
    double power = std::pow(10.0, std::floor(std::log10(rough)) - 1.0);
    for (;; power *= 10.0) {
        for (double factor : {1.0, 2.0, 5.0}) {
            if (multiplesWithin(low, high, factor * power) <= maxCount) {
                return factor * power;
            }
        }
    }
}

double labelledStep(double low, double high, double pixels, double spacing, double gap,
                    const std::function<double(const std::string&)>& extent) {
    const auto fits = [&](double step) {
        double longest = 0.0;
        for (double k = std::ceil(low / step); k * step <= high; ++k) {
            longest = std::max(longest, extent(text(k * step, step)));
        }
        return longest + gap <= step / (high - low) * pixels;
    };
    int most = std::max(2, static_cast<int>(pixels / spacing) + 1);
    double step = roundStep(low, high, most);
    while (most > 2 && !fits(step)) {
        step = roundStep(low, high, --most);
    }
    return step;
}

std::vector<double> roundTicks(double low, double high, int maxCount) {
    if (!std::isfinite(low) || !std::isfinite(high) || high < low) {
        return {};
    }
    if (high == low || maxCount < 2) {
        return {low};
    }
    const double step = roundStep(low, high, maxCount);
    std::vector<double> ticks;
    const double last = std::floor(high / step + 1e-9);
    for (double k = std::ceil(low / step - 1e-9); k <= last; k += 1.0) {
        // Zero exactly rather than a rounding residue such as 1e-17.
        ticks.push_back(std::abs(k) < 0.5 ? 0.0 : k * step);
    }
    return ticks;
}

double niceStep(double minimum) {
    const double power = std::pow(10.0, std::floor(std::log10(minimum)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= minimum) {
            return factor * power;
        }
    }
    return 10.0 * power;
}

std::vector<double> values(Interval interval, double step) {
    std::vector<double> result;
    const double first = std::ceil(interval.from / step);
    for (double k = first; k * step <= interval.to && result.size() < mostTicks; ++k) {
        if (k != 0.0) {
            result.push_back(k * step);
        }
    }
    return result;
}

std::string text(double value, double step) {
    // A tick reached by rounding from below zero may be -0 or a rounding error off zero; both
    // read as zero.
    if (std::abs(value) < step * 1e-6) {
        value = 0.0;
    }
    char buffer[32];
    const double magnitude = std::max(std::abs(value), step);
    if (magnitude >= 1e6 || step < 1e-4) {
        std::snprintf(buffer, sizeof buffer, "%.3g", value);
    } else {
        const int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    }
    return buffer;
}

} // namespace kinora::AxisTicks
