#include "KNSectionDotsFollower.h"

#include "Exploration.h"

KNSectionDotsFollower::KNSectionDotsFollower(kinora::Exploration& exploration,
                                             const kinora::PoincareSection& section)
    : exploration(exploration), _section(section) {
    exploration.setListener(this);
}

KNSectionDotsFollower::~KNSectionDotsFollower() {
    exploration.setListener(nullptr);
}

void KNSectionDotsFollower::explorationDidCompletePath(std::size_t seedIndex,
                                                       std::int32_t evolution,
                                                       const kinora::SeedFan& fan) {
    _dots.pathCompleted(seedIndex, evolution,
                        kinora::SectionDots::crossingsOf(exploration.trajectorySnapshot(), _section,
                                                         exploration.seedPosition(seedIndex),
                                                         fan.path(evolution), fan.vertexCount()));
}
