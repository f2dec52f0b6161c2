#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kinora {

// What the computation of one evolution's path ran into, for the window to report once.
struct EvolutionOutcome {
    // The first vertex with a coordinate that is infinite or NaN; nothing while all are finite.
    std::optional<std::int32_t> firstNonFiniteIndex;
    // The time limit stopped a call of the system's evolution function; the rest of the path is
    // NaN.
    bool stopped = false;
    // The first error the system reported for this path (a script's exception message), or
    // empty.
    std::string error;
};

// The outcomes of every path of one recomputation (all seeds), gathered into one report.
struct RecomputationOutcome {
    int pathCount = 0;
    // Paths that left the finite range.
    int nonFinitePaths = 0;
    // Paths cut short by the time limit.
    int stoppedPaths = 0;
    // Paths with an error, and the text of the first one.
    int failedPaths = 0;
    std::string firstError;

    void add(const EvolutionOutcome& outcome);
};

} // namespace kinora
