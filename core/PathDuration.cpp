#include "PathDuration.h"

#include "NumberText.h"
#include "Trajectory.h"

#include <cmath>
#include <cstdio>

namespace kinora {

std::string groupedCount(double count) {
    // Beyond this a double no longer holds every digit.
    if (count >= 1e15) {
        return roundedNumberText(count, 3);
    }
    char digits[64];
    std::snprintf(digits, sizeof digits, "%.0f", count);
    const std::string plain(digits);
    std::string text;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        if (i > 0 && (plain.size() - i) % 3 == 0) {
            text += ',';
        }
        text += plain[i];
    }
    return text;
}

std::optional<std::string> pathDurationProblem(double duration, double step) {
    if (!std::isfinite(duration) || duration <= 0.0) {
        return "is not a positive, finite number of time units";
    }
    if (!std::isfinite(step) || step <= 0.0) {
        return "cannot be served by a step of " + shortestNumberText(step) +
               ", which is not a positive, finite number";
    }
    const double count = wholeStepCount(duration, step);
    if (count < 1.0) {
        return "is shorter than one step of " + shortestNumberText(step);
    }
    if (count > static_cast<double>(maxTrajectoryVertices)) {
        return "gives " + groupedCount(count) + " points per path at a step of " +
               shortestNumberText(step) + "; the most is " +
               groupedCount(static_cast<double>(maxTrajectoryVertices));
    }
    return std::nullopt;
}

std::optional<std::string> windowPointsProblem(std::int64_t seeds, std::int64_t evolutions,
                                               std::int64_t points) {
    // In doubles: the product of three counts may overflow 64 bits.
    const double total =
        static_cast<double>(seeds) * static_cast<double>(evolutions) * static_cast<double>(points);
    if (total <= static_cast<double>(maxWindowPoints)) {
        return std::nullopt;
    }
    const auto counted = [](std::int64_t count, const char* one, const char* many) {
        return groupedCount(static_cast<double>(count)) + " " + (count == 1 ? one : many);
    };
    return counted(seeds, "seed", "seeds") + " × " +
           counted(evolutions, "evolution", "evolutions") + " × " +
           counted(points, "point", "points") + " make " + groupedCount(total) +
           " points; a window holds at most " + groupedCount(static_cast<double>(maxWindowPoints));
}

} // namespace kinora
