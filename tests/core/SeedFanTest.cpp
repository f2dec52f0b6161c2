#include "SeedFan.h"

#include "KNDefinitions.h"
#include "RK4Integrator.h"
#include "SystemPathDriver.h"
#include "Trajectory.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace {

class LorenzFan : public ::testing::Test {
protected:
    LorenzFan() {
        system.parameter(0).setMin(10);
        system.parameter(0).setMax(28);
        system.parameter(1).setMin(10);
        system.parameter(1).setMax(10);
        system.parameter(2).setMin(8.0 / 3.0);
        system.parameter(2).setMax(8.0 / 3.0);
    }
    kinora::RK4Integrator integrator{0.01};
    KinoraSystem system{lorenz, &integrator, 3};
    kinora::SystemPathDriver driver;
    const kinora::Vector3 seed{1, 2, 3};
};

bool sameBits(const std::vector<kinora::PathVertex>& a, const std::vector<kinora::PathVertex>& b) {
    return a.size() == b.size() &&
           std::memcmp(a.data(), b.data(), a.size() * sizeof(kinora::PathVertex)) == 0;
}

TEST_F(LorenzFan, SlicesGiveTheBitsOfOneStepAtATimeThroughTheSystem) {
    kinora::SeedFan whole, sliced, inlined;
    whole.compute(system, driver, seed, 4, 1000);
    sliced.start(seed, 4, 1000);
    int slices = 0;
    while (!sliced.advance(system, driver, 333)) {
        ++slices;
    }
    EXPECT_GT(slices, 10);
    // The built-in's own driver, sliced too.
    const std::unique_ptr<kinora::PathDriver> builtIn = makePathDriver(lorenz);
    inlined.start(seed, 4, 1000);
    while (!inlined.advance(system, *builtIn, 333)) {
    }
    ASSERT_TRUE(whole.isComplete());

    kinora::Trajectory reference;
    for (std::int32_t m = 0; m < 4; ++m) {
        kinora::setParametersAtSweepFraction(system, m / 3.0);
        reference.integrate(system, seed, 1000);
        EXPECT_EQ(whole.path(m).s, m / 3.0);
        EXPECT_TRUE(sameBits(whole.path(m).vertices, reference.vertices)) << m;
        EXPECT_TRUE(sameBits(sliced.path(m).vertices, reference.vertices)) << m;
        EXPECT_TRUE(sameBits(inlined.path(m).vertices, reference.vertices)) << m;
        EXPECT_EQ(inlined.path(m).states, whole.path(m).states) << m;
        EXPECT_EQ(static_cast<float>(whole.path(m).states[2997]),
                  reference.vertices[999].position[0]);
        EXPECT_FALSE(whole.path(m).outcome.firstNonFiniteIndex);
    }
    EXPECT_EQ(whole.indices().size(), 1000u);
    EXPECT_EQ(whole.indices()[999], 999u);
    EXPECT_EQ(system.parameter(0).value(), 28) << "the last evolution's values stay";
}

TEST_F(LorenzFan, TheBuiltInDriverNotesWhereAPathLeavesTheFiniteRange) {
    // So long a step that the paths overflow within the first few dozen steps, inside a slice.
    integrator.setIntegrationStep(0.5);
    const std::unique_ptr<kinora::PathDriver> builtIn = makePathDriver(lorenz);
    kinora::SeedFan viaSystem, inlined;
    viaSystem.compute(system, driver, seed, 3, 200);
    inlined.start(seed, 3, 200);
    while (!inlined.advance(system, *builtIn, 7)) {
    }
    for (std::int32_t m = 0; m < 3; ++m) {
        const kinora::FanPath& path = inlined.path(m);
        ASSERT_TRUE(path.outcome.firstNonFiniteIndex) << m;
        EXPECT_EQ(path.outcome.firstNonFiniteIndex, viaSystem.path(m).outcome.firstNonFiniteIndex);
        EXPECT_TRUE(sameBits(path.vertices, viaSystem.path(m).vertices)) << m;
    }
}

// Ends every path after `length` states, as a script's time limit would.
class EndingDriver : public kinora::PathDriver {
public:
    std::string beginFan() override { return "fan-wide"; }
    std::string beginEvolution(const KinoraSystem&) override { return {}; }
    bool advance(const KinoraSystem& system, kinora::PathCursor& cursor, std::int32_t count,
                 double* states, kinora::EvolutionOutcome& outcome) override {
        const std::int32_t steps = std::min(count, 5 - cursor.index);
        kinora::SystemPathDriver().advance(system, cursor, steps, states, outcome);
        if (cursor.index < 5) {
            return true;
        }
        outcome.stopped = true;
        return false;
    }
};

TEST_F(LorenzFan, APathEndedEarlyIsNaNFromThereOnAndSaysWhy) {
    EndingDriver ending;
    kinora::SeedFan fan;
    fan.start(seed, 2, 100);
    while (!fan.advance(system, ending, 3)) {
    }
    kinora::RecomputationOutcome summary;
    for (std::int32_t m = 0; m < 2; ++m) {
        const kinora::FanPath& path = fan.path(m);
        EXPECT_TRUE(std::isfinite(path.vertices[4].position[2]));
        EXPECT_TRUE(std::isnan(path.vertices[5].position[0]));
        EXPECT_TRUE(std::isnan(path.states[299]));
        EXPECT_EQ(path.outcome.firstNonFiniteIndex, 5);
        EXPECT_EQ(path.outcome.error, "fan-wide");
        summary.add(path.outcome);
    }
    EXPECT_EQ(summary.pathCount, 2);
    EXPECT_EQ(summary.nonFinitePaths, 2);
    EXPECT_EQ(summary.stoppedPaths, 2);
    EXPECT_EQ(summary.failedPaths, 2);
    EXPECT_EQ(summary.firstError, "fan-wide");
}

} // namespace
