#pragma once

#include <optional>
#include <string>

namespace kinora {

// The time each path covers unless the user or the script chooses another.
constexpr double defaultPathDuration = 10.0;
// The integration step a window starts with.
constexpr double defaultIntegrationStep = 0.01;

// Why paths of duration time units cannot be computed at step, as the end of a sentence whose
// subject names the value ("... gives 100,000,000 points per path at a step of 0.01; the most is
// 1,000,000"), or nothing when they can: duration and step are positive and finite and give
// between 1 and maxTrajectoryVertices points.
std::optional<std::string> pathDurationProblem(double duration, double step);

// A number as people type it: up to 6 significant digits, no trailing zeros ("0.01", "1e+09").
std::string formatNumber(double value);

} // namespace kinora
