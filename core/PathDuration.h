#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kinora {

// The time each path covers unless the user or the script chooses another.
constexpr double defaultPathDuration = 10.0;
// The integration step a window starts with.
constexpr double defaultIntegrationStep = 0.01;
// The evolutions (paths per seed) a window starts with.
constexpr int defaultEvolutions = 10;
// All paths of one window together hold at most this many points. Each point is kept as six
// floats for drawing, so a window's paths stay within about 2.4 GB however many seeds,
// evolutions and points per path are asked for, instead of exhausting the memory.
constexpr std::int64_t maxWindowPoints = 100'000'000;

// Why paths of duration time units cannot be computed at step, as the end of a sentence whose
// subject names the value ("... gives 100,000,000 points per path at a step of 0.01; the most is
// 1,000,000"), or nothing when they can: duration and step are positive and finite and give
// between 1 and maxTrajectoryVertices points.
std::optional<std::string> pathDurationProblem(double duration, double step);

// Why seeds with evolutions paths of points points each are more than a window holds, as a
// sentence without its final stop ("100 seeds × 20 evolutions × 100,000 points make
// 200,000,000 points; a window holds at most 100,000,000"), or nothing when they fit.
std::optional<std::string> windowPointsProblem(std::int64_t seeds, std::int64_t evolutions,
                                               std::int64_t points);

// A whole count with thousands separators: 1,000,000; from 10^15 on, three digits and an
// exponent: 3.33e16.
std::string groupedCount(double count);

} // namespace kinora
