#include "LyapunovEstimate.h"

#include "KNDefinitions.h"
#include "RK4Integrator.h"
#include "SystemPathDriver.h"

#include <gtest/gtest.h>

namespace {

KinoraSystem systemWith(EvolutionFunction f, kinora::Integrator* integrator, double a, double b,
                        double c) {
    KinoraSystem system(f, integrator, 3);
    system.parameters = {kinora::Parameter(a), kinora::Parameter(b), kinora::Parameter(c)};
    return system;
}

// The published values for the standard parameter sets, from tables of Lyapunov spectra of
// common chaotic flows: Lorenz (rho 28, sigma 10, beta 8/3) 0.9056, Rössler (a = b = 0.2,
// c = 5.7) 0.0714. The durations are those the README states: 10,000 time units at a step of
// 0.01 for Lorenz, and 50,000 at a step of 0.05 for the slower Rössler; the first tenth is the
// transient.
TEST(LyapunovEstimate, AgreesWithThePublishedValuesWithinTwoPercent) {
    kinora::SystemPathDriver driver;
    kinora::RK4Integrator fine(0.01);
    const auto lorenzEstimate = kinora::largestLyapunovExponent(
        systemWith(lorenz, &fine, 28.0, 10.0, 8.0 / 3.0), driver, {1, 1, 1}, 1'000'000, 100'000);
    ASSERT_TRUE(lorenzEstimate.exponent) << lorenzEstimate.problem;
    EXPECT_NEAR(*lorenzEstimate.exponent, 0.9056, 0.02 * 0.9056);

    kinora::RK4Integrator coarse(0.05);
    const auto rosslerEstimate = kinora::largestLyapunovExponent(
        systemWith(rossler, &coarse, 0.2, 0.2, 5.7), driver, {1, 1, 1}, 1'000'000, 100'000);
    ASSERT_TRUE(rosslerEstimate.exponent) << rosslerEstimate.problem;
    EXPECT_NEAR(*rosslerEstimate.exponent, 0.0714, 0.02 * 0.0714);
}

TEST(LyapunovEstimate, ATooShortPathSaysSoInsteadOfGivingANumber) {
    kinora::SystemPathDriver driver;
    kinora::RK4Integrator integrator(0.01);
    // The window's default: 10 time units.
    const auto estimate = kinora::largestLyapunovExponent(
        systemWith(lorenz, &integrator, 28.0, 10.0, 8.0 / 3.0), driver, {1, 1, 1}, 1000, 100);
    EXPECT_FALSE(estimate.exponent);
    EXPECT_NE(estimate.problem.find("too short"), std::string::npos);
}

} // namespace
