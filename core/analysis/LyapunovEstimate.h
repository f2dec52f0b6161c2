#pragma once

#include "KinoraSystem.h"
#include "PathDriver.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace kinora {

// The largest Lyapunov exponent of one path, or why the path gives none.
struct LyapunovEstimate {
    // Per unit of time; nothing when problem says why.
    std::optional<double> exponent;
    // "the path is too short: ...", "the path leaves the finite range", ...; empty with an
    // exponent.
    std::string problem;
};

// Averaging over less than this much time after the transient gives no meaningful exponent.
constexpr double minimumLyapunovTime = 100.0;
// Nor does averaging over fewer steps than this.
constexpr std::int32_t minimumLyapunovSteps = 1000;

// The largest Lyapunov exponent of the path of `count` steps of system (its parameters and
// integrator as they are) from seed, over the steps after the first `transientSteps`, stepped by
// driver (begun for the system's evolution), so a path has the bits the window draws. A second
// trajectory starts a relative 1e-8 away and is pulled back to that distance after every step;
// the exponent is the mean logarithmic growth of the distance per unit time. The separation is
// carried through the transient too, so that it has turned into the most expanding direction
// when the averaging begins. cancelled, when given, is asked now and then; once it says yes the
// estimate ends with nothing, for a caller that no longer wants it.
LyapunovEstimate largestLyapunovExponent(const KinoraSystem& system, PathDriver& driver,
                                         Vector3 seed, std::int32_t count,
                                         std::int32_t transientSteps,
                                         const std::function<bool()>& cancelled = {});

} // namespace kinora
