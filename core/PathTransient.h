#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kinora {

// Why a transient of transient time units cannot be hidden from paths that cover duration, as
// the end of a sentence whose subject names the value ("is not shorter than the duration of 10,
// so it would hide every path whole"), or nothing when it can: 0 (nothing hidden) up to, but not
// including, the duration.
std::optional<std::string> transientProblem(double transient, double duration);

// How many of a path's count points lie less than transient after its seed, point i lying
// (i + 1) × step after it, just as the exported t column says: those are the points hidden.
std::int32_t hiddenVertexCount(double transient, double step, std::int32_t count);

} // namespace kinora
