#include "EquilibriumSearch.h"

#include "KNDefinitions.h"
#include "RK4Integrator.h"

#include <cmath>
#include <complex>
#include <gtest/gtest.h>

namespace {

using kinora::Parameter;
using kinora::StabilityClass;
using kinora::Vector3;

std::vector<Parameter> values(double a, double b, double c) {
    return {Parameter(a), Parameter(b), Parameter(c)};
}

// The starts the program uses: a seed, points along its path, the origin.
std::vector<Vector3> startsAlongPath(EvolutionFunction f, const std::vector<Parameter>& p,
                                     Vector3 seed) {
    kinora::RK4Integrator integrator(0.01);
    std::vector<Vector3> starts{seed, Vector3()};
    Vector3 x = seed;
    for (int i = 1; i <= 2000; ++i) {
        x = integrator.integrate(f, p, 0.0, x);
        if (i % 100 == 0) {
            starts.push_back(x);
        }
    }
    return starts;
}

void expectNear(Vector3 actual, Vector3 expected, double tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// How far an eigenvalue is from a root of the cubic, by one Newton step.
double distanceToRoot(std::complex<double> l, double a2, double a1, double a0) {
    return std::abs((((l + a2) * l + a1) * l + a0) / ((3.0 * l + 2.0 * a2) * l + a1));
}

TEST(EquilibriumSearch, LorenzPointsAndEigenvaluesMatchTheirClosedForms) {
    const double rho = 28.0, sigma = 10.0, beta = 8.0 / 3.0;
    const auto p = values(rho, sigma, beta);
    const double r = std::sqrt(beta * (rho - 1.0));
    // The analytic Jacobian of the built-in system, and central differences as for a script.
    for (const kinora::JacobianFunction jacobian : {&lorenzJacobian, kinora::JacobianFunction{}}) {
        SCOPED_TRACE(jacobian ? "analytic" : "central differences");
        const auto result =
            kinora::findEquilibria(lorenz, jacobian, p, startsAlongPath(lorenz, p, {1, 1, 1}));
        ASSERT_EQ(result.equilibria.size(), 3u);
        expectNear(result.equilibria[0].position, {-r, -r, rho - 1.0}, 1e-10);
        expectNear(result.equilibria[1].position, {0, 0, 0}, 1e-10);
        expectNear(result.equilibria[2].position, {r, r, rho - 1.0}, 1e-10);
        const double eigenTolerance = jacobian ? 1e-8 : 1e-6;

        // The origin: −beta and the roots of λ² + (σ + 1)λ − σ(ρ − 1).
        const double root = std::sqrt((sigma + 1) * (sigma + 1) + 4 * sigma * (rho - 1));
        const auto& origin = result.equilibria[1].eigenvalues;
        EXPECT_NEAR(origin[0].real(), (-(sigma + 1) - root) / 2, eigenTolerance);
        EXPECT_NEAR(origin[1].real(), -beta, eigenTolerance);
        EXPECT_NEAR(origin[2].real(), (-(sigma + 1) + root) / 2, eigenTolerance);
        EXPECT_EQ(result.equilibria[1].stability, StabilityClass::saddle);

        // C±: the roots of λ³ + (σ + β + 1)λ² + β(σ + ρ)λ + 2σβ(ρ − 1), one real and a
        // complex pair with a positive real part beyond the Hopf point ρ ≈ 24.74.
        for (int k : {0, 2}) {
            const auto& l = result.equilibria[static_cast<std::size_t>(k)].eigenvalues;
            for (const std::complex<double> value : l) {
                EXPECT_LT(distanceToRoot(value, sigma + beta + 1, beta * (sigma + rho),
                                         2 * sigma * beta * (rho - 1)),
                          eigenTolerance);
            }
            EXPECT_LT(l[0].real(), 0.0);
            EXPECT_GT(l[1].imag(), 0.0);
            EXPECT_EQ(l[2], std::conj(l[1]));
            EXPECT_EQ(result.equilibria[static_cast<std::size_t>(k)].stability,
                      StabilityClass::saddleFocus);
        }
    }
}

TEST(EquilibriumSearch, ClassesFollowTheParameters) {
    // Below ρ = 1 the origin is the only equilibrium and attracts; between 1.35 and 24.74 C±
    // are stable foci.
    const auto below = kinora::findEquilibria(lorenz, lorenzJacobian, values(0.5, 10, 8.0 / 3),
                                              {{1, 1, 1}, {5, -3, 2}, {0, 0, 0}});
    ASSERT_EQ(below.equilibria.size(), 1u);
    EXPECT_EQ(below.equilibria[0].stability, StabilityClass::stableNode);
    const auto foci = kinora::findEquilibria(lorenz, lorenzJacobian, values(10, 10, 8.0 / 3),
                                             {{5, 5, 9}, {-5, -5, 9}, {0, 0, 0}});
    ASSERT_EQ(foci.equilibria.size(), 3u);
    EXPECT_EQ(foci.equilibria[0].stability, StabilityClass::stableFocus);
    EXPECT_EQ(foci.equilibria[2].stability, StabilityClass::stableFocus);
}

TEST(EquilibriumSearch, RosslerPointsMatchTheirClosedForms) {
    const double a = 0.2, b = 0.2, c = 5.7;
    const auto p = values(a, b, c);
    const auto result =
        kinora::findEquilibria(rossler, rosslerJacobian, p, startsAlongPath(rossler, p, {1, 1, 1}));
    ASSERT_EQ(result.equilibria.size(), 2u);
    const double root = std::sqrt(c * c - 4 * a * b);
    for (int k : {0, 1}) {
        const double x = (c + (k == 0 ? -root : root)) / 2;
        const auto& found = result.equilibria[static_cast<std::size_t>(k)];
        expectNear(found.position, {x, -x / a, x / a}, 1e-10);
        // Both are saddle-foci of the Jacobian [[0, −1, −1], [1, a, 0], [z, 0, x − c]], whose
        // characteristic cubic is λ³ + (c − x − a)λ² + (1 + a(x − c) + z)λ + (c − x) − a z.
        for (const std::complex<double> value : found.eigenvalues) {
            EXPECT_LT(distanceToRoot(value, c - x - a, 1 + a * (x - c) + x / a, (c - x) - x), 1e-8);
        }
        EXPECT_EQ(found.stability, StabilityClass::saddleFocus);
    }
}

Vector3 noEquilibrium(double, const std::vector<Parameter>&, Vector3 s) {
    return {s.x * s.x + 1.0, s.y, std::exp(s.z)};
}

TEST(EquilibriumSearch, FailedStartsAreCountedAndNeverReturnedAsPoints) {
    const auto result = kinora::findEquilibria(noEquilibrium, nullptr, {},
                                               {{0, 0, 0}, {3, 1, 1}, {-2, 0, 5}, {1e300, 0, 0}});
    EXPECT_TRUE(result.equilibria.empty());
    EXPECT_EQ(result.leftFiniteRange + result.singular + result.notConverged, 4);
    EXPECT_GE(result.leftFiniteRange, 1);
}

} // namespace
