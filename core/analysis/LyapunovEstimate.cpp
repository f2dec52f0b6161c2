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

// How many steps go between two questions whether the caller still wants the estimate.
constexpr std::int32_t stepsBetweenCancelChecks = 4096;

// One step of the path at cursor; why it failed, or empty.
std::string step(const KinoraSystem& system, PathDriver& driver, PathCursor& cursor) {
    double state[3] = {NAN, NAN, NAN};
    cursor.index = 0;
    EvolutionOutcome outcome;
    driver.advance(system, cursor, 1, state, outcome);
    cursor.state = Vector3(state[0], state[1], state[2]);
    if (outcome.stopped) {
        return "the system's evolution function ran too long and was stopped";
    }
    return outcome.error;
}

} // namespace

LyapunovEstimate largestLyapunovExponent(const KinoraSystem& system, PathDriver& driver,
                                         Vector3 seed, std::int32_t count,
                                         std::int32_t transientSteps,
                                         const std::function<bool()>& cancelled) {
    const double h = system.integrator->integrationStep();
    const std::int32_t averaged = count - std::max<std::int32_t>(transientSteps, 0);
    const double averagedTime = averaged * h;
    if (averaged < minimumLyapunovSteps || !(averagedTime >= minimumLyapunovTime)) {
        return {std::nullopt, "the path is too short: it needs at least " +
                                  shortestNumberText(minimumLyapunovTime) + " time units and " +
                                  groupedCount(minimumLyapunovSteps) +
                                  " steps after the transient, and has " +
                                  shortestNumberText(std::max(averagedTime, 0.0)) + " in " +
                                  groupedCount(std::max(averaged, 0)) + " steps"};
    }
    const double separation =
        1e-8 * std::max({1.0, std::abs(seed.x), std::abs(seed.y), std::abs(seed.z)});
    PathCursor path{seed, 0.0, 0};
    PathCursor neighbour{seed + Vector3(1.0, 1.0, 1.0) * (separation / std::sqrt(3.0)), 0.0, 0};
    double growth = 0.0;
    for (std::int32_t i = 0; i < count; ++i) {
        if (cancelled && i % stepsBetweenCancelChecks == 0 && cancelled()) {
            return {std::nullopt, "the estimate was cancelled"};
        }
        for (PathCursor* cursor : {&path, &neighbour}) {
            if (std::string error = step(system, driver, *cursor); !error.empty()) {
                return {std::nullopt, error};
            }
        }
        const Vector3 x = path.state;
        const double d = distance(neighbour.state, x);
        if (!hasFiniteCoordinates(x) || !std::isfinite(d)) {
            return {std::nullopt, "the path leaves the finite range"};
        }
        if (d == 0.0) {
            return {std::nullopt, "the neighbouring trajectory merged with the path"};
        }
        if (i >= transientSteps) {
            growth += std::log(d / separation);
        }
        neighbour.state = x + (neighbour.state - x) * (separation / d);
    }
    return {growth / averagedTime, {}};
}

} // namespace kinora
