#include "EulerIntegrator.h"
#include "KNDefinitions.h"
#include "RK4Integrator.h"

#include <gtest/gtest.h>
#include <type_traits>

using kinora::Parameter;
using kinora::Vector3;

namespace {

Vector3 growth(double, const std::vector<Parameter>&, Vector3 s) {
    return s;
}
Vector3 clock(double t, const std::vector<Parameter>&, Vector3) {
    return {t, 0, 0};
}

// Plain function pointers carry no state, so the recording function writes here.
std::vector<double> stageTimes;
std::vector<Vector3> stageStates;
Vector3 recordingGrowth(double t, const std::vector<Parameter>&, Vector3 s) {
    stageTimes.push_back(t);
    stageStates.push_back(s);
    return s;
}

const std::vector<Parameter> none;

TEST(Integrator, BaseClassIsAbstract) {
    static_assert(std::is_abstract_v<kinora::Integrator>);
    static_assert(std::has_virtual_destructor_v<kinora::Integrator>);
}

TEST(Integrator, StepAndHalfStepStayInStep) {
    kinora::RK4Integrator rk4(0.01);
    EXPECT_EQ(rk4.step, 0.01);
    EXPECT_EQ(rk4.halfStep, 0.005);
    rk4.setIntegrationStep(0.02);
    EXPECT_EQ(rk4.integrationStep(), 0.02);
    EXPECT_EQ(rk4.halfStep, 0.01);
}

TEST(Integrator, DeletingThroughTheBaseIsTheNormalDisposal) {
    std::unique_ptr<kinora::Integrator> integrator = std::make_unique<kinora::EulerIntegrator>(0.1);
    EXPECT_EQ(integrator->integrate(growth, none, 0, {1, 1, 1}).x, 1.1);
}

TEST(EulerIntegrator, TakesOneDerivativeStep) {
    kinora::EulerIntegrator euler(0.1);
    const Vector3 grown = euler.integrate(growth, none, 0, {1, 1, 1});
    EXPECT_DOUBLE_EQ(grown.x, 1.1);
    EXPECT_EQ(grown.x, 1 + 1 * 0.1);

    const Vector3 timed = euler.integrate(clock, none, 2.0, {0, 0, 0});
    EXPECT_EQ(timed.x, 2.0 * 0.1);

    const std::vector<Parameter> lorenzValues = {Parameter(28.0), Parameter(10.0),
                                                 Parameter(8.0 / 3.0)};
    const Vector3 l = kinora::EulerIntegrator(0.01).integrate(lorenz, lorenzValues, 0, {1, 1, 1});
    EXPECT_EQ(l.x, 1.0);
    EXPECT_DOUBLE_EQ(l.y, 1.26);
    EXPECT_DOUBLE_EQ(l.z, 1 - 1.0 / 60);
}

TEST(RK4Integrator, MatchesTheTaylorSeriesOfExponentialGrowth) {
    const double h = 0.1;
    const Vector3 grown = kinora::RK4Integrator(h).integrate(growth, none, 0, {1, 1, 1});
    const double taylor = 1 + h + h * h / 2 + h * h * h / 6 + h * h * h * h / 24;
    EXPECT_DOUBLE_EQ(grown.x, taylor);
    EXPECT_DOUBLE_EQ(grown.y, taylor);
    EXPECT_DOUBLE_EQ(grown.z, taylor);
}

TEST(RK4Integrator, SumsTheStagesInTheFixedGrouping) {
    const double h = 0.1, h2 = 0.05;
    const double k1 = 1, k2 = 1 + k1 * h2, k3 = 1 + k2 * h2, k4 = 1 + k3 * h;
    const double expected = 1 + ((k1 + (k2 + k3) * 2.0) + k4) * (h / 6.0);
    EXPECT_EQ(kinora::RK4Integrator(h).integrate(growth, none, 0, {1, 1, 1}).x, expected);
}

TEST(RK4Integrator, IntegratesTimeExactlyForALinearClock) {
    const double h = 0.25, t = 3.0;
    const Vector3 timed = kinora::RK4Integrator(h).integrate(clock, none, t, {0, 0, 0});
    EXPECT_DOUBLE_EQ(timed.x, h * t + h * h / 2);
    EXPECT_EQ(timed.y, 0);
    EXPECT_EQ(timed.z, 0);
}

TEST(RK4Integrator, CallsTheFunctionOncePerStageWithTheStoredHalfStep) {
    kinora::RK4Integrator rk4(0.01);
    rk4.setIntegrationStep(0.02);
    stageTimes.clear();
    stageStates.clear();
    rk4.integrate(recordingGrowth, none, 1.0, {1, 1, 1});
    ASSERT_EQ(stageTimes.size(), 4u);
    EXPECT_EQ(stageTimes[0], 1.0);
    EXPECT_EQ(stageTimes[1], 1.0 + 0.01);
    EXPECT_EQ(stageTimes[2], 1.0 + 0.01);
    EXPECT_EQ(stageTimes[3], 1.0 + 0.02);
    EXPECT_EQ(stageStates[1].x, 1 + 1 * 0.01);
    EXPECT_EQ(stageStates[3].x, 1 + stageStates[2].x * 0.02);

    // A half step set by hand is what the stages use, not step / 2 recomputed.
    rk4.halfStep = 0.5;
    stageTimes.clear();
    rk4.integrate(recordingGrowth, none, 0.0, {1, 1, 1});
    EXPECT_EQ(stageTimes[1], 0.5);
}

TEST(Integrators, AZeroStepLeavesTheStateUnchanged) {
    const std::vector<Parameter> lorenzValues = {Parameter(28.0), Parameter(10.0),
                                                 Parameter(8.0 / 3.0)};
    const Vector3 start(1, 2, 3);
    for (const kinora::Integrator* integrator :
         {static_cast<kinora::Integrator*>(new kinora::RK4Integrator(0)),
          static_cast<kinora::Integrator*>(new kinora::EulerIntegrator(0))}) {
        const Vector3 next = integrator->integrate(lorenz, lorenzValues, 0, start);
        EXPECT_EQ(next.x, 1);
        EXPECT_EQ(next.y, 2);
        EXPECT_EQ(next.z, 3);
        delete integrator;
    }
}

} // namespace
