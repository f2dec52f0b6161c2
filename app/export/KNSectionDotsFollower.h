#pragma once

#include "ExplorationListener.h"
#include "SectionDots.h"

// Collects the crossings of every path an exploration completes with one plane, for the section
// panel's picture. It is the exploration's listener while it lives.
namespace kinora {
class Exploration;
}

class KNSectionDotsFollower final : public kinora::ExplorationListener {
public:
    KNSectionDotsFollower(kinora::Exploration& exploration, const kinora::PoincareSection& section);
    ~KNSectionDotsFollower() override;
    KNSectionDotsFollower(const KNSectionDotsFollower&) = delete;
    KNSectionDotsFollower& operator=(const KNSectionDotsFollower&) = delete;

    const kinora::PoincareSection& section() const { return _section; }
    const kinora::SectionDots& dots() const { return _dots; }

    void explorationDidBeginRecomputation() override {}
    void explorationDidStartFan(std::size_t seedIndex, std::int32_t evolutions) override {
        _dots.fanStarted(seedIndex, evolutions);
    }
    void explorationDidCompletePath(std::size_t seedIndex, std::int32_t evolution,
                                    const kinora::SeedFan& fan) override;
    void explorationDidIntegrate(std::chrono::steady_clock::duration) override {}
    void explorationDidDeferFan(std::size_t) override {}
    void explorationDidPause(std::int64_t, std::int64_t) override {}
    void explorationDidStopRecomputation(std::int64_t, std::int64_t) override {}
    void explorationDidFinishRecomputation() override {}

private:
    kinora::Exploration& exploration;
    kinora::PoincareSection _section;
    kinora::SectionDots _dots;
};
