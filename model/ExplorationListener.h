#pragma once

#include "SeedFan.h"

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace kinora {

// Told what an exploration's recomputation does, as it does it: whoever shows the paths (a
// window) listens; an exploration nobody shows has no listener.
class ExplorationListener {
public:
    virtual ~ExplorationListener() = default;

    // A recomputation starts afresh (a change that joins one still at work does not).
    virtual void explorationDidBeginRecomputation() = 0;
    // The seed at seedIndex gets paths 0 ... evolutions - 1 from now on; the rest are blank.
    virtual void explorationDidStartFan(std::size_t seedIndex, std::int32_t evolutions) = 0;
    // Path evolution of the seed at seedIndex is final: fan.path(evolution).
    virtual void explorationDidCompletePath(std::size_t seedIndex, std::int32_t evolution,
                                            const SeedFan& fan) = 0;
    // How long a slice waited for the integration done on the workers.
    virtual void explorationDidIntegrate(std::chrono::steady_clock::duration took) = 0;
    // The recomputation goes on beyond its first slice and the fan of the seed at seedIndex
    // has not begun: its paths are to be left blank until they are computed, so that the
    // pictures meanwhile show new paths only.
    virtual void explorationDidDeferFan(std::size_t seedIndex) = 0;
    // A slice ended with work left: donePaths of totalPaths are final.
    virtual void explorationDidPause(std::int64_t donePaths, std::int64_t totalPaths) = 0;
    // The recomputation was stopped with donePaths of its totalPaths final; the paths it had
    // not finished are blank. explorationDidFinishRecomputation follows.
    virtual void explorationDidStopRecomputation(std::int64_t donePaths,
                                                 std::int64_t totalPaths) = 0;
    // Every queued seed is done, or the recomputation was stopped.
    virtual void explorationDidFinishRecomputation() = 0;
};

} // namespace kinora
