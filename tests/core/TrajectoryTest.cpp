#include "Trajectory.h"

#include "KNDefinitions.h"
#include "RK4Integrator.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using kinora::Vector3;

namespace {

TEST(TrajectoryVertexCount, TruncatesLengthOverStep) {
    EXPECT_EQ(kinora::trajectoryVertexCount(10, 0.01), 1000);
    EXPECT_EQ(kinora::trajectoryVertexCount(10, 0.03), 333);
    EXPECT_EQ(kinora::trajectoryVertexCount(10, 0.07), 142);
    EXPECT_EQ(kinora::trajectoryVertexCount(10, 0.02), 500);
    EXPECT_EQ(kinora::trajectoryVertexCount(10, 0.001), 10000);
}

// The doubles divide to just under these whole numbers; the numbers as written do not.
TEST(TrajectoryVertexCount, CountsWithTheNumbersAsWritten) {
    EXPECT_EQ(kinora::trajectoryVertexCount(0.3, 0.1), 3);
    EXPECT_EQ(kinora::wholeStepCount(1.000001, 1e-6), 1'000'001);
    EXPECT_EQ(kinora::wholeStepCount(20, 1e-5), 2e6);
    // A step a hair longer than the path fits no time.
    EXPECT_EQ(kinora::wholeStepCount(10, 10.000000000000002), 0);

    EXPECT_EQ(kinora::wholeStepCount(10, 1e-300), std::trunc(10 / 1e-300));
}

TEST(TrajectoryVertexCount, RefusesStepsThatGiveNoSensiblePath) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(kinora::trajectoryVertexCount(10, 0), std::nullopt);
    EXPECT_EQ(kinora::trajectoryVertexCount(10, -0.01), std::nullopt);
    EXPECT_EQ(kinora::trajectoryVertexCount(10, nan), std::nullopt);
    EXPECT_EQ(kinora::trajectoryVertexCount(10, inf), std::nullopt);
    EXPECT_EQ(kinora::trajectoryVertexCount(10, 1e-300), std::nullopt);
    EXPECT_EQ(kinora::trajectoryVertexCount(10, 20), std::nullopt);
    EXPECT_EQ(kinora::trajectoryVertexCount(1e6, 1), kinora::maxTrajectoryVertices);
    EXPECT_EQ(kinora::trajectoryVertexCount(1e6 + 1, 1), std::nullopt);
}

class LorenzTrajectory : public ::testing::Test {
protected:
    kinora::RK4Integrator integrator{0.01};
    KinoraSystem system{lorenz, &integrator, 3};
    kinora::Trajectory trajectory;
};

TEST_F(LorenzTrajectory, SweepFractionInterpolatesEveryParameterUnclamped) {
    system.parameter(0).setMin(10);
    system.parameter(0).setMax(28);
    system.parameter(1).setMin(20);
    system.parameter(1).setMax(10);
    kinora::setParametersAtSweepFraction(system, 0.5);
    EXPECT_EQ(system.parameter(0).value(), 19);
    EXPECT_EQ(system.parameter(1).value(), 15);
    EXPECT_EQ(system.parameter(2).value(), 0);
    kinora::setParametersAtSweepFraction(system, 2);
    EXPECT_EQ(system.parameter(0).value(), 46);
}

TEST_F(LorenzTrajectory, VerticesAreTheStatesAfterEachStepAndTheirDisplacement) {
    system.parameter(0).setValue(28);
    system.parameter(1).setValue(10);
    system.parameter(2).setValue(8.0 / 3.0);
    const Vector3 seed(1, 1, 1);
    trajectory.integrate(system, seed, 1000);
    ASSERT_EQ(trajectory.vertices.size(), 1000u);
    ASSERT_EQ(trajectory.indices.size(), 1000u);

    Vector3 expected = seed;
    double t = 0;
    for (size_t i = 0; i < 1000; ++i) {
        expected = integrator.integrate(lorenz, system.parameters, t, expected);
        t += 0.01;
        const kinora::PathVertex& v = trajectory.vertices[i];
        ASSERT_EQ(v.position[0], static_cast<float>(expected.x)) << i;
        ASSERT_EQ(v.position[1], static_cast<float>(expected.y)) << i;
        ASSERT_EQ(v.position[2], static_cast<float>(expected.z)) << i;
        ASSERT_EQ(v.displacement[0], static_cast<float>(expected.x - seed.x)) << i;
        ASSERT_EQ(v.displacement[1], static_cast<float>(expected.y - seed.y)) << i;
        ASSERT_EQ(v.displacement[2], static_cast<float>(expected.z - seed.z)) << i;
        ASSERT_EQ(trajectory.indices[i], i);
    }
    EXPECT_NE(trajectory.vertices[0].position[1], 1.0f) << "the seed itself is not a vertex";
}

// The time advances by 0.01 per vertex whatever the step, which a time-reading system shows.
kinora::Vector3 clockSystem(double t, const std::vector<kinora::Parameter>&, Vector3) {
    return {0, 0, t};
}

TEST_F(LorenzTrajectory, TimeAdvancesByAConstantHundredthPerStep) {
    integrator.setIntegrationStep(0.5);
    KinoraSystem timed(clockSystem, &integrator, 0);
    trajectory.integrate(timed, {0, 0, 0}, 3);
    // z grows by h * t + h^2 / 2 per step with t = 0, 0.01, 0.02.
    double z = 0;
    for (double t : {0.0, 0.01, 0.02}) {
        z = z + 0.5 * t + 0.125;
    }
    EXPECT_FLOAT_EQ(trajectory.vertices[2].position[2], static_cast<float>(z));
}

TEST_F(LorenzTrajectory, ReusesItsBuffersForPathsOfTheSameSize) {
    trajectory.integrate(system, {1, 1, 1}, 1000);
    const kinora::PathVertex* storage = trajectory.vertices.data();
    trajectory.integrate(system, {2, 2, 2}, 1000);
    EXPECT_EQ(trajectory.vertices.data(), storage);
    trajectory.integrate(system, {2, 2, 2}, 10);
    EXPECT_EQ(trajectory.vertices.size(), 10u);
    EXPECT_EQ(trajectory.indices.back(), 9u);
}

} // namespace
