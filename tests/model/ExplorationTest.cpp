#include "Exploration.h"

#include "EvolutionDescription.h"
#include "ExplorationListener.h"
#include "FindingsComputation.h"
#include "KNDefinitions.h"
#include "SystemPathDriver.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

using kinora::Exploration;

// Every path the exploration reports, as a window would draw it.
class RecordingListener : public kinora::ExplorationListener {
public:
    struct Shown {
        std::size_t seed;
        std::int32_t evolution;
        std::vector<kinora::PathVertex> vertices;
    };

    void explorationDidBeginRecomputation() override { ++begun; }
    void explorationDidStartFan(std::size_t, std::int32_t) override {}
    void explorationDidCompletePath(std::size_t seed, std::int32_t evolution,
                                    const kinora::SeedFan& fan) override {
        paths.push_back({seed, evolution, fan.path(evolution).vertices});
    }
    void explorationDidDeferFan(std::size_t) override {}
    void explorationDidIntegrate(std::chrono::steady_clock::duration) override {}
    void explorationDidPause(std::int64_t, std::int64_t) override {}
    void explorationDidStopRecomputation(std::int64_t, std::int64_t) override {}
    void explorationDidFinishRecomputation() override { ++finished; }

    int begun = 0;
    int finished = 0;
    std::vector<Shown> paths;
};

class ExplorationTest : public ::testing::Test {
protected:
    ExplorationTest() { lorenzExploration.setListener(&listener); }

    RecordingListener listener;
    Exploration lorenzExploration{lorenz, {"rho", "sigma", "beta"}};
};

TEST_F(ExplorationTest, OpensWithOneQueuedRecomputationAndComputesTheCoresBits) {
    kinora::InitialDeclaration declaration;
    declaration.sweeps = {{0, 10.0, 28.0}, {1, 10.0, 10.0}, {2, 8.0 / 3.0, 8.0 / 3.0}};
    declaration.seeds = std::vector<kinora::Vector3>{{1, 1, 1}, {-2, 3, 5}, {0.5, 0.5, 9}};
    declaration.evolutions = 4;
    lorenzExploration.start(declaration);
    // Nothing is computed while the opening goes on.
    EXPECT_TRUE(lorenzExploration.isRecomputing());
    EXPECT_TRUE(listener.paths.empty());

    const int begunBefore = listener.begun;
    lorenzExploration.completeRecomputation();
    EXPECT_EQ(listener.begun, begunBefore);
    EXPECT_EQ(listener.finished, 1);
    ASSERT_EQ(listener.paths.size(), 12u);
    EXPECT_EQ(lorenzExploration.lastOutcome().pathCount, 12);
    kinora::SystemPathDriver driver;
    KinoraSystem system = lorenzExploration.system();
    for (std::size_t i = 0; i < listener.paths.size(); ++i) {
        const RecordingListener::Shown& shown = listener.paths[i];
        // Seed by seed in the order they were declared.
        ASSERT_EQ(shown.seed, i / 4);
        kinora::SeedFan expected;
        expected.compute(system, driver, lorenzExploration.seedPosition(shown.seed), 4, 1000);
        const auto& vertices = expected.path(shown.evolution).vertices;
        ASSERT_EQ(shown.vertices.size(), vertices.size());
        EXPECT_EQ(std::memcmp(shown.vertices.data(), vertices.data(),
                              vertices.size() * sizeof(kinora::PathVertex)),
                  0);
    }
    EXPECT_EQ(lorenzExploration.trajectorySnapshot().seeds.size(), 3u);
    EXPECT_FALSE(lorenzExploration.plotBounds().isEmpty());
}

TEST_F(ExplorationTest, RefusedSettingsSayWhyAndChangeNothing) {
    lorenzExploration.start({});
    lorenzExploration.completeRecomputation();
    const int finished = listener.finished;

    EXPECT_EQ(lorenzExploration.changeEvolutions(2.5),
              "The number of evolutions must be a whole number; 2.5 is not.");
    EXPECT_EQ(lorenzExploration.changeEvolutions(21),
              "Evolutions go from 0 to 20, the most paths a seed can have; 21 is outside.");
    EXPECT_EQ(lorenzExploration.changeIntegrationStep(-1),
              "The step must be a positive number; -1 is not.");
    EXPECT_EQ(lorenzExploration.changeIntegrationStep(20),
              "A step of 20 is longer than a path, which covers 10 time units; the longest step "
              "is 10.");
    EXPECT_EQ(lorenzExploration.changeIntegrationStep(1e-9),
              "A step of 1e-9 would give 10,000,000,000 points per path; the most is 1,000,000.");
    EXPECT_EQ(lorenzExploration.changePathDuration(0),
              "A duration of 0 is not a positive, finite number of time units.");
    EXPECT_EQ(lorenzExploration.changeIntegration(0.01, 20000),
              "A duration of 20000 gives 2,000,000 points per path at a step of 0.01; the most is "
              "1,000,000.");
    EXPECT_FALSE(lorenzExploration.changeParameterStart(3, 1.0));
    EXPECT_EQ(lorenzExploration.evolutionCount(), 10);
    EXPECT_EQ(lorenzExploration.integrator().integrationStep(), 0.01);
    EXPECT_EQ(lorenzExploration.pathDuration(), 10.0);
    EXPECT_FALSE(lorenzExploration.isRecomputing());
    EXPECT_EQ(listener.finished, finished);

    // 100 seeds of 20 paths of 100,000 points are more than a window holds.
    ASSERT_FALSE(lorenzExploration.changeIntegration(0.01, 1000));
    for (int k = 1; k <= 50; ++k) {
        lorenzExploration.addSeed({0.1 * k, 1, 1});
    }
    lorenzExploration.stopRecomputation();
    EXPECT_EQ(lorenzExploration.changeEvolutions(20),
              "51 seeds × 20 evolutions × 100,000 points make 102,000,000 points; a window "
              "holds at most 100,000,000.");
    EXPECT_FALSE(lorenzExploration.addSeedRefusal());
}

TEST_F(ExplorationTest, ATransientIsRefusedWhereItWouldHideAllAndFramingSkipsWhatItHides) {
    kinora::InitialDeclaration declaration;
    declaration.sweeps = {{0, 28.0, 28.0}, {1, 10.0, 10.0}, {2, 8.0 / 3.0, 8.0 / 3.0}};
    declaration.seeds = std::vector<kinora::Vector3>{{40, -40, 90}};
    declaration.evolutions = 1;
    lorenzExploration.start(declaration);

    EXPECT_EQ(lorenzExploration.changeTransient(10),
              "A transient of 10 is not shorter than the duration of 10, so it would hide every "
              "path whole.");
    EXPECT_EQ(lorenzExploration.changeTransient(-1),
              "A transient of -1 is not a finite number of time units from 0 on.");
    ASSERT_FALSE(lorenzExploration.changeTransient(5));
    // Lowering the duration onto the transient is refused too, never shortening the transient.
    EXPECT_EQ(lorenzExploration.changePathDuration(5),
              "A duration of 5 is not longer than the transient of 5 that Skip hides; lower Skip "
              "first.");
    EXPECT_EQ(lorenzExploration.pathDuration(), 10.0);
    EXPECT_EQ(lorenzExploration.transient(), 5.0);

    lorenzExploration.completeRecomputation();
    ASSERT_EQ(listener.paths.size(), 1u);
    // Points at t = 0.01 ... 4.99 are hidden; the one at t = 5 shows.
    ASSERT_EQ(lorenzExploration.hiddenVertexCount(), 499);
    const std::vector<kinora::PathVertex>& vertices = listener.paths[0].vertices;
    const auto boxFrom = [&](std::size_t first) {
        kinora::BoundingBox box;
        box.add(lorenzExploration.seedPosition(0));
        for (std::size_t i = first; i < vertices.size(); ++i) {
            box.add({vertices[i].position[0], vertices[i].position[1], vertices[i].position[2]});
        }
        return box.corners();
    };
    const auto same = [](const std::vector<kinora::Vector3>& a,
                         const std::vector<kinora::Vector3>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                          [](kinora::Vector3 p, kinora::Vector3 q) {
                              return p.x == q.x && p.y == q.y && p.z == q.z;
                          });
    };
    // The approach from the seed reaches beyond the attractor, so hiding it shows in the frame.
    ASSERT_FALSE(same(boxFrom(0), boxFrom(499)));
    EXPECT_TRUE(same(lorenzExploration.plotBounds().corners(), boxFrom(499)));
}

TEST_F(ExplorationTest, AMovedSeedStartsAgainFirstAndARemovedOneIsSkipped) {
    kinora::InitialDeclaration declaration;
    declaration.seeds = std::vector<kinora::Vector3>{{1, 1, 1}, {2, 2, 2}, {3, 3, 3}, {4, 4, 4}};
    lorenzExploration.start(declaration);
    // The workers may have computed every fan already: the queue order decides what is shown.
    const int begun = listener.begun;
    lorenzExploration.moveSeed(0, {5, 5, 5});
    lorenzExploration.removeSeed(1);
    EXPECT_EQ(listener.begun, begun);
    lorenzExploration.completeRecomputation();
    // The moved seed starts again, then the others still queued follow in their order.
    ASSERT_EQ(listener.paths.size(), 30u);
    EXPECT_EQ(listener.paths[0].seed, 0u);
    EXPECT_GT(listener.paths[0].vertices.front().position[0], 4.0f);
    EXPECT_EQ(listener.paths[10].seed, 1u);
    EXPECT_EQ(listener.paths[20].seed, 2u);
    EXPECT_EQ(listener.finished, 1);
}

TEST(ScriptExplorationTest, AScriptThatDoesNotLoadSaysWhyAndOneThatDoesDeclaresItsStart) {
    KNError error;
    EXPECT_FALSE(Exploration::withScript("var parameters = [", &error));
    EXPECT_FALSE(error.failureReason.empty());

    const auto exploration = Exploration::withScript(R"(
var parameters = ["a"];
var initial = { evolutions: 3, seeds: [[1, 0, 0]] };
function evolution(p, x, y, z) { return [-x, -y, -z]; })",
                                                     &error);
    ASSERT_TRUE(exploration);
    EXPECT_TRUE(exploration->hasScriptEngine());
    exploration->start(exploration->ownDeclaration());
    exploration->completeRecomputation();
    EXPECT_EQ(exploration->evolutionCount(), 3);
    EXPECT_EQ(exploration->seedCount(), 1u);
    EXPECT_EQ(exploration->lastOutcome().pathCount, 3);
}

TEST_F(ExplorationTest, TheFocusedPathsFollowRemovedSeedsAndFewerEvolutionsAndAreNamed) {
    kinora::InitialDeclaration declaration;
    declaration.sweeps = {{0, 10.0, 28.0}, {1, 10.0, 10.0}, {2, 8.0 / 3.0, 8.0 / 3.0}};
    declaration.seeds = std::vector<kinora::Vector3>{{1, 1, 1}, {-2, 3, 5}, {0.5, 0.5, 9}};
    lorenzExploration.start(declaration);
    kinora::PathFocus& focus = lorenzExploration.pathFocus();
    int changes = 0;
    focus.setChangeHandler([&] { ++changes; });

    // The exponent follows once the findings have it, or why there is none.
    EXPECT_EQ(kinora::describeEvolution(lorenzExploration, {1, 3}, nullptr),
              "Seed 2, evolution 4 of 10, s = 0.333333, rho = 16");
    kinora::ExplorationFindings findings;
    findings.evolutions.resize(2);
    findings.evolutions[0].evolution = 2;
    findings.evolutions[1].evolution = 3;
    findings.evolutions[1].exponents = {{0.9056, {}}, {std::nullopt, "the path is too short"}};
    EXPECT_EQ(kinora::describeEvolution(lorenzExploration, {0, 3}, &findings),
              "Seed 1, evolution 4 of 10, s = 0.333333, rho = 16, largest exponent 0.9056");
    EXPECT_EQ(kinora::describeEvolution(lorenzExploration, {1, 3}, &findings),
              "Seed 2, evolution 4 of 10, s = 0.333333, rho = 16, no largest exponent (the path "
              "is too short)");
    EXPECT_EQ(kinora::describeEvolution(lorenzExploration, {1, 2}, &findings),
              "Seed 2, evolution 3 of 10, s = 0.222222, rho = 14");

    EXPECT_TRUE(focus.click(kinora::EvolutionRef{2, 8}));
    EXPECT_TRUE(focus.hover(kinora::EvolutionRef{1, 9}));
    EXPECT_EQ(changes, 2);
    // The seed before the soloed one goes: the soloed path is the same one, one place up.
    lorenzExploration.removeSeed(0);
    ASSERT_TRUE(focus.soloed());
    EXPECT_EQ(*focus.soloed(), (kinora::EvolutionRef{1, 8}));
    // The hovered path's seed goes with it.
    lorenzExploration.removeSeed(0);
    EXPECT_FALSE(focus.hovered());
    EXPECT_EQ(*focus.soloed(), (kinora::EvolutionRef{0, 8}));
    // Evolution 8 of 5 does not exist.
    changes = 0;
    ASSERT_FALSE(lorenzExploration.changeEvolutions(5));
    EXPECT_FALSE(focus.soloed());
    EXPECT_EQ(changes, 1);

    EXPECT_TRUE(focus.click(kinora::EvolutionRef{0, 4}));
    EXPECT_FALSE(focus.click(kinora::EvolutionRef{0, 4}));
    EXPECT_TRUE(focus.click(std::nullopt));
    EXPECT_FALSE(focus.restore());
    EXPECT_EQ(changes, 3);
}

} // namespace
