#pragma once

#include "ExplorationListener.h"
#include "PoincareSection.h"
#include "SectionDots.h"

namespace kinora {

class Exploration;

// Collects the crossings of every path an exploration completes with one plane, per seed and
// evolution: a recomputed path replaces its own dots, and the paths the exploration blanks
// (beyond a fan's evolutions, of a deferred fan, left unfinished by a stop) lose theirs at once,
// so the dots always belong to the paths on screen. It is told by whoever is the exploration's
// listener; next, when given, is told everything after it.
class SectionDotsFollower final : public ExplorationListener {
public:
    SectionDotsFollower(const Exploration& exploration, const PoincareSection& section,
                        ExplorationListener* next = nullptr);

    const PoincareSection& section() const { return _section; }
    const SectionDots& dots() const { return _dots; }
    // Another plane from now on, with no dots until paths are completed again.
    void follow(const PoincareSection& section);
    void seedRemoved(std::size_t seedIndex) { _dots.seedRemoved(seedIndex); }

    void explorationDidBeginRecomputation() override;
    void explorationDidStartFan(std::size_t seedIndex, std::int32_t evolutions) override;
    void explorationDidCompletePath(std::size_t seedIndex, std::int32_t evolution,
                                    const SeedFan& fan) override;
    void explorationDidIntegrate(std::chrono::steady_clock::duration took) override;
    void explorationDidDeferFan(std::size_t seedIndex) override;
    void explorationDidPause(std::int64_t donePaths, std::int64_t totalPaths) override;
    void explorationDidStopRecomputation(std::int64_t donePaths, std::int64_t totalPaths) override;
    void explorationDidFinishRecomputation() override;

private:
    const Exploration& exploration;
    PoincareSection _section;
    SectionDots _dots;
    ExplorationListener* next;
};

} // namespace kinora
