#include "SectionDotsFollower.h"

#include "Exploration.h"
#include "KNDefinitions.h"

#include <chrono>
#include <gtest/gtest.h>
#include <vector>

namespace {

// The paths the follower hands on, with what a window needs to find their crossings again.
class CompletedPaths : public kinora::ExplorationListener {
public:
    struct Completed {
        std::size_t seed;
        kinora::FanPath path;
        std::int32_t vertexCount;
    };

    void explorationDidBeginRecomputation() override {}
    void explorationDidStartFan(std::size_t, std::int32_t) override {}
    void explorationDidCompletePath(std::size_t seed, std::int32_t evolution,
                                    const kinora::SeedFan& fan) override {
        paths.push_back({seed, fan.path(evolution), fan.vertexCount()});
    }
    void explorationDidDeferFan(std::size_t) override {}
    void explorationDidIntegrate(std::chrono::steady_clock::duration) override {}
    void explorationDidPause(std::int64_t, std::int64_t) override {}
    void explorationDidStopRecomputation(std::int64_t, std::int64_t) override {}
    void explorationDidFinishRecomputation() override {}

    std::vector<Completed> paths;
};

// A stop blanks every path not yet recomputed; their dots go with them, whether their fan had
// begun or not, and the dots left are exactly those of the paths on screen.
TEST(SectionDotsFollowerTest, AStopTakesTheDotsOfTheBlankedPathsAtOnce) {
    kinora::Exploration exploration(lorenz, {"rho", "sigma", "beta"});
    kinora::InitialDeclaration declaration;
    declaration.sweeps = {{0, 24.0, 28.0}, {1, 10.0, 10.0}, {2, 8.0 / 3.0, 8.0 / 3.0}};
    declaration.seeds = std::vector<kinora::Vector3>{{1, 1, 1}, {-2, 3, 5}, {0.5, 0.5, 9}};
    declaration.evolutions = 4;
    exploration.start(declaration);
    CompletedPaths completed;
    const kinora::PoincareSection plane(2, 27.0, kinora::CrossingDirection::increasing);
    kinora::SectionDotsFollower follower(exploration, plane, &completed);
    exploration.setListener(&follower);
    exploration.completeRecomputation();
    ASSERT_EQ(completed.paths.size(), 12u);
    ASSERT_GT(follower.dots().all().size(), 12u);

    // Stopped before any new path is shown: every path is blank, and so is the section.
    ASSERT_TRUE(exploration.changeParameterEnd(0, 30.0));
    exploration.stopRecomputation();
    EXPECT_TRUE(follower.dots().all().empty());

    // Stopped after a first slice: the dots are those of the paths it completed.
    ASSERT_TRUE(exploration.changeParameterEnd(0, 32.0));
    completed.paths.clear();
    exploration.advance(kinora::Exploration::Clock::now());
    exploration.stopRecomputation();
    const KNTrajectorySnapshot snapshot = exploration.trajectorySnapshot();
    std::size_t expected = 0;
    for (const CompletedPaths::Completed& path : completed.paths) {
        expected +=
            kinora::SectionDots::crossingsOf(snapshot, plane, exploration.seedPosition(path.seed),
                                             path.path, path.vertexCount)
                .size();
    }
    EXPECT_EQ(follower.dots().all().size(), expected);
    exploration.setListener(nullptr);
}

} // namespace
