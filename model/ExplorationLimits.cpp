#include "ExplorationLimits.h"

#include "NumberText.h"
#include "PathDuration.h"
#include "Trajectory.h"

#include <cmath>

namespace kinora {

std::optional<std::string> ExplorationLimits::windowPointsRefusal(const ExplorationSize& size) {
    const std::optional<std::int32_t> points = trajectoryVertexCount(size.duration, size.step);
    if (!points) {
        return std::nullopt;
    }
    if (const std::optional<std::string> problem =
            windowPointsProblem(size.seeds, size.evolutions, *points)) {
        return *problem + ".";
    }
    return std::nullopt;
}

std::optional<std::string> ExplorationLimits::evolutionsRefusal(double count,
                                                                ExplorationSize current) {
    if (count != std::trunc(count)) {
        return "The number of evolutions must be a whole number; " + shortestNumberText(count) +
               " is not.";
    }
    if (count < 0 || count > static_cast<double>(maxEvolutionCount)) {
        const std::string most = std::to_string(maxEvolutionCount);
        return "Evolutions go from 0 to " + most + ", the most paths a seed can have; " +
               shortestNumberText(count) + " is outside.";
    }
    current.evolutions = static_cast<std::int64_t>(count);
    return windowPointsRefusal(current);
}

std::optional<std::string> ExplorationLimits::integrationStepRefusal(double step,
                                                                     ExplorationSize current) {
    if (trajectoryVertexCount(current.duration, step)) {
        current.step = step;
        return windowPointsRefusal(current);
    }
    if (!std::isfinite(step) || step <= 0.0) {
        return "The step must be a positive number; " + shortestNumberText(step) + " is not.";
    }
    const double count = wholeStepCount(current.duration, step);
    if (count < 1.0) {
        const std::string duration = shortestNumberText(current.duration);
        return "A step of " + shortestNumberText(step) + " is longer than a path, which covers " +
               duration + " time units; the longest step is " + duration + ".";
    }
    return "A step of " + shortestNumberText(step) + " would give " + groupedCount(count) +
           " points per path; the most is " +
           groupedCount(static_cast<double>(maxTrajectoryVertices)) + ".";
}

std::optional<std::string> ExplorationLimits::integrationRefusal(double step, double duration,
                                                                 ExplorationSize current) {
    if (const std::optional<std::string> problem = pathDurationProblem(duration, step)) {
        return "A duration of " + shortestNumberText(duration) + " " + *problem + ".";
    }
    current.step = step;
    current.duration = duration;
    return windowPointsRefusal(current);
}

} // namespace kinora
