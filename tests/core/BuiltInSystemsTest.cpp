#include "GeometryExpectations.h"
#include "KNDefinitions.h"
#include "KinoraSystem.h"
#include "RK4Integrator.h"

#include <gtest/gtest.h>

using kinora::Parameter;
using kinora::Vector3;
using kinora::testing::expectBits;

namespace {

std::vector<Parameter> values(double a, double b, double c) {
    return {Parameter("0", a), Parameter("1", b), Parameter("2", c)};
}

TEST(BuiltInSystems, LorenzReadsRhoSigmaBetaInThatOrder) {
    expectBits(lorenz(0, values(28, 10, 8.0 / 3.0), {1, 1, 1}), 0, 26, 1 - 8.0 / 3.0);
    expectBits(lorenz(0, values(28, 10, 8.0 / 3.0), {1, 2, 3}), 10, 23, 2 - 8.0);
    expectBits(lorenz(5, values(1, 2, 3), {0, 0, 0}), 0, 0, 0);
}

TEST(BuiltInSystems, RosslerReadsABCInThatOrder) {
    expectBits(rossler(0, values(0.2, 0.2, 5.7), {1, 2, 3}), -5, 1.4, 0.2 + 3 * (1 - 5.7));
}

TEST(BuiltInSystems, ChangedValuesTakeEffectAtTheNextEvaluation) {
    std::vector<Parameter> p = values(28, 10, 8.0 / 3.0);
    const Vector3 before = lorenz(0, p, {1, 1, 1});
    p[0].setValue(0);
    const Vector3 after = lorenz(0, p, {1, 1, 1});
    EXPECT_EQ(before.y, 26);
    EXPECT_EQ(after.y, -2);
}

TEST(BuiltInSystemsDeathTest, RequireExactlyThreeParameters) {
    const std::vector<Parameter> two = {Parameter(1.0), Parameter(2.0)};
    EXPECT_DEATH(lorenz(0, two, {1, 1, 1}), "p.size\\(\\) == 3");
    EXPECT_DEATH(rossler(0, two, {1, 1, 1}), "p.size\\(\\) == 3");
}

TEST(KinoraSystem, StartsWithDefaultParameters) {
    kinora::RK4Integrator integrator(0.01);
    KinoraSystem system(lorenz, &integrator, 3);
    ASSERT_EQ(system.parameterCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(system.parameter(i).name, "unnamed");
        EXPECT_EQ(system.parameter(i).value(), 0);
        EXPECT_EQ(system.parameter(i).min(), 0);
        EXPECT_EQ(system.parameter(i).max(), 0);
    }
    system.parameter(1).setValue(4);
    EXPECT_EQ(system.parameters[1].value(), 4);
}

TEST(KinoraSystem, AdvanceIsOneIntegratorStepWithTheCurrentStep) {
    kinora::RK4Integrator integrator(0.01);
    KinoraSystem system(lorenz, &integrator, 3);
    system.parameter(0).setValue(28);
    system.parameter(1).setValue(10);
    system.parameter(2).setValue(8.0 / 3.0);
    const Vector3 start(1, 1, 1);
    const Vector3 direct = integrator.integrate(lorenz, system.parameters, 0.3, start);
    const Vector3 advanced = system.advance(0.3, start);
    expectBits(advanced, direct.x, direct.y, direct.z);

    integrator.setIntegrationStep(0.02);
    const Vector3 longer = system.advance(0.3, start);
    const Vector3 expected =
        kinora::RK4Integrator(0.02).integrate(lorenz, system.parameters, 0.3, start);
    expectBits(longer, expected.x, expected.y, expected.z);
    EXPECT_NE(longer.y, advanced.y);
}

} // namespace
