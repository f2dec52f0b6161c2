#include "EvolutionOutcome.h"

namespace kinora {

void RecomputationOutcome::add(const EvolutionOutcome& outcome) {
    ++pathCount;
    if (outcome.firstNonFiniteIndex) {
        ++nonFinitePaths;
    }
    if (outcome.stopped) {
        ++stoppedPaths;
    }
    if (!outcome.error.empty()) {
        if (failedPaths == 0) {
            firstError = outcome.error;
        }
        ++failedPaths;
    }
}

} // namespace kinora
