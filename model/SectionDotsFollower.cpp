#include "SectionDotsFollower.h"

#include "Exploration.h"

namespace kinora {

SectionDotsFollower::SectionDotsFollower(const Exploration& exploration,
                                         const PoincareSection& section, ExplorationListener* next)
    : exploration(exploration), _section(section), next(next) {}

void SectionDotsFollower::follow(const PoincareSection& section) {
    _section = section;
    _dots.clear();
}

void SectionDotsFollower::explorationDidBeginRecomputation() {
    if (next) {
        next->explorationDidBeginRecomputation();
    }
}

void SectionDotsFollower::explorationDidStartFan(std::size_t seedIndex, std::int32_t evolutions) {
    _dots.fanStarted(seedIndex, evolutions);
    if (next) {
        next->explorationDidStartFan(seedIndex, evolutions);
    }
}

void SectionDotsFollower::explorationDidCompletePath(std::size_t seedIndex, std::int32_t evolution,
                                                     const SeedFan& fan) {
    _dots.pathCompleted(seedIndex, evolution,
                        SectionDots::crossingsOf(exploration.trajectorySnapshot(), _section,
                                                 exploration.seedPosition(seedIndex),
                                                 fan.path(evolution), fan.vertexCount()));
    if (next) {
        next->explorationDidCompletePath(seedIndex, evolution, fan);
    }
}

void SectionDotsFollower::explorationDidIntegrate(std::chrono::steady_clock::duration took) {
    if (next) {
        next->explorationDidIntegrate(took);
    }
}

void SectionDotsFollower::explorationDidDeferFan(std::size_t seedIndex) {
    // Every path of the seed is blank until its fan begins.
    _dots.fanStarted(seedIndex, 0);
    if (next) {
        next->explorationDidDeferFan(seedIndex);
    }
}

void SectionDotsFollower::explorationDidPause(std::int64_t donePaths, std::int64_t totalPaths) {
    if (next) {
        next->explorationDidPause(donePaths, totalPaths);
    }
}

void SectionDotsFollower::explorationDidStopRecomputation(std::int64_t donePaths,
                                                          std::int64_t totalPaths) {
    if (next) {
        next->explorationDidStopRecomputation(donePaths, totalPaths);
    }
}

void SectionDotsFollower::explorationDidFinishRecomputation() {
    if (next) {
        next->explorationDidFinishRecomputation();
    }
}

} // namespace kinora
