#include "LyapunovEstimate.h"

#include "NumberText.h"
#include "PathDriver.h"
#include "PathDuration.h"

#include <algorithm>
#include <cmath>

namespace kinora {

namespace {

double distance(Vector3 a, Vector3 b) {
    const Vector3 d = a - b;
    return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
}

bool isFinite(Vector3 v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

} // namespace

LyapunovEstimate largestLyapunovExponent(const KinoraSystem& system, Vector3 seed,
                                         std::int32_t count, std::int32_t transientSteps) {
    const double step = system.integrator->integrationStep();
    const std::int32_t averaged = count - std::max<std::int32_t>(transientSteps, 0);
    const double averagedTime = averaged * step;
    if (averaged < minimumLyapunovSteps || !(averagedTime >= minimumLyapunovTime)) {
        return {std::nullopt, "the path is too short: it needs at least " +
                                  shortestNumberText(minimumLyapunovTime) + " time units and " +
                                  groupedCount(minimumLyapunovSteps) +
                                  " steps after the transient, and has " +
                                  shortestNumberText(std::max(averagedTime, 0.0)) + " in " +
                                  groupedCount(std::max(averaged, 0)) + " steps"};
    }
    Vector3 x = seed;
    const double separation =
        1e-8 * std::max({1.0, std::abs(seed.x), std::abs(seed.y), std::abs(seed.z)});
    Vector3 y = x + Vector3(1.0, 1.0, 1.0) * (separation / std::sqrt(3.0));
    double growth = 0.0;
    double time = 0.0;
    for (std::int32_t i = 0; i < count; ++i) {
        x = system.advance(time, x);
        y = system.advance(time, y);
        time += pathTimeIncrement;
        const double d = distance(y, x);
        if (!isFinite(x) || !std::isfinite(d)) {
            return {std::nullopt, "the path leaves the finite range"};
        }
        if (d == 0.0) {
            return {std::nullopt, "the neighbouring trajectory merged with the path"};
        }
        if (i >= transientSteps) {
            growth += std::log(d / separation);
        }
        y = x + (y - x) * (separation / d);
    }
    return {growth / averagedTime, {}};
}

} // namespace kinora
