#include "OrbitDiagram.h"

#include "KNDefinitions.h"
#include "OrbitDiagramRun.h"
#include "RK4Integrator.h"
#include "SeedFan.h"

#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

// Lorenz with rho swept from 24 to 250, sigma 10, beta 8/3.
class LorenzSweep : public ::testing::Test {
protected:
    kinora::RK4Integrator integrator{0.01};
    KinoraSystem system{lorenz, &integrator, 3};

    void SetUp() override {
        system.parameters = {kinora::Parameter("rho", 24.0, 24.0, 250.0),
                             kinora::Parameter("sigma", 10.0, 10.0, 10.0),
                             kinora::Parameter("beta", 8.0 / 3.0, 8.0 / 3.0, 8.0 / 3.0)};
    }

    // The distinct values of a column to one decimal.
    static std::size_t distinct(const kinora::OrbitColumn& column) {
        std::set<long long> rounded;
        for (const double v : column.values) {
            rounded.insert(std::llround(v * 10.0));
        }
        return rounded.size();
    }
};

TEST_F(LorenzSweep, ColumnsAreTheSameOnAnyNumberOfThreads) {
    kinora::OrbitDiagramSettings settings;
    settings.resolution = 100;
    settings.transientSteps = 500;
    settings.recordedSteps = 2000;
    settings.section = kinora::PoincareSection(2, 27.0, kinora::CrossingDirection::increasing);
    const kinora::OrbitDiagram diagram(system, settings);
    const auto alone = diagram.columns(10, 40, 1);
    const auto shared = diagram.columns(10, 40, 3);
    ASSERT_EQ(alone.size(), 30u);
    ASSERT_EQ(shared.size(), 30u);
    for (std::size_t k = 0; k < alone.size(); ++k) {
        EXPECT_EQ(alone[k].s, kinora::sweepFraction(static_cast<std::int32_t>(k) + 10, 100));
        EXPECT_EQ(alone[k].values, shared[k].values) << "column " << k;
    }
}

TEST_F(LorenzSweep, ABackgroundRunHandsOverEveryColumnOnceAsItCompletes) {
    kinora::OrbitDiagramSettings settings;
    settings.resolution = 100;
    settings.transientSteps = 500;
    settings.recordedSteps = 1000;
    settings.quantity = kinora::OrbitQuantity::localMaxima;
    const kinora::OrbitDiagram diagram(system, settings);
    kinora::OrbitDiagramRun run(diagram, 20, 80, 2);
    std::map<std::int32_t, kinora::OrbitColumn> received;
    const auto ceiling = kinora::OrbitDiagramRun::Clock::now() + std::chrono::minutes(5);
    bool complete = false;
    while (!complete && kinora::OrbitDiagramRun::Clock::now() < ceiling) {
        complete = run.waitUntilComplete(kinora::OrbitDiagramRun::Clock::now() +
                                         std::chrono::milliseconds(5));
        for (auto& [k, column] : run.takeCompleted()) {
            EXPECT_TRUE(received.emplace(k, std::move(column)).second) << "column " << k;
        }
    }
    ASSERT_TRUE(complete);
    EXPECT_EQ(run.completedCount(), 60);
    ASSERT_EQ(received.size(), 60u);
    EXPECT_EQ(received.begin()->first, 20);
    EXPECT_EQ(received.rbegin()->first, 79);
    EXPECT_EQ(received.at(50).values, diagram.column(50).values);
}

TEST_F(LorenzSweep, APeriodicWindowShowsAFewPointsAndChaosMany) {
    // rho = 28 is chaotic; rho = 150 lies in the periodic window between about 145 and 166.
    kinora::OrbitDiagramSettings settings;
    settings.resolution = 227;
    settings.transientSteps = 20'000;
    settings.recordedSteps = 20'000;
    settings.quantity = kinora::OrbitQuantity::localMaxima;
    settings.plotted = 2;
    const kinora::OrbitDiagram diagram(system, settings);
    const auto chaotic = diagram.column(4);
    const auto periodic = diagram.column(126);

    EXPECT_GT(distinct(chaotic), 50u);
    EXPECT_GE(periodic.values.size(), 50u);
    EXPECT_LE(distinct(periodic), 8u);
}

} // namespace
