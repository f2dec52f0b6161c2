#include "PoincareSection.h"

#include "KNDefinitions.h"
#include "RK4Integrator.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {

std::vector<double> path(const KinoraSystem& system, kinora::Vector3 seed, int count) {
    std::vector<double> states;
    kinora::Vector3 x = seed;
    for (int i = 0; i < count; ++i) {
        x = system.advance(0.0, x);
        states.insert(states.end(), {x.x, x.y, x.z});
    }
    return states;
}

// The diagonal of the box around a path.
double extent(const std::vector<double>& states) {
    double squared = 0.0;
    for (int axis = 0; axis < 3; ++axis) {
        double low = INFINITY, high = -INFINITY;
        for (std::size_t i = static_cast<std::size_t>(axis); i < states.size(); i += 3) {
            low = std::min(low, states[i]);
            high = std::max(high, states[i]);
        }
        squared += (high - low) * (high - low);
    }
    return std::sqrt(squared);
}

// At a step of 0.01 the Lorenz path itself moves by about a millionth of the attractor when the
// step is halved (the integrator's own error, whatever the crossings do); at 0.005 the path
// moves sixteen times less and the crossings must follow it.
TEST(PoincareSection, HalvingTheStepMovesNoCrossingByAMillionthOfTheAttractor) {
    const kinora::PoincareSection section(2, 27.0, kinora::CrossingDirection::increasing);
    const double duration = 4.0;
    kinora::RK4Integrator coarseStep(0.005), fineStep(0.0025);
    KinoraSystem coarse(lorenz, &coarseStep, 3), fine(lorenz, &fineStep, 3);
    coarse.parameters = fine.parameters = {kinora::Parameter(28.0), kinora::Parameter(10.0),
                                           kinora::Parameter(8.0 / 3.0)};
    const kinora::Vector3 seed(1, 1, 1);
    const auto coarsePath = path(coarse, seed, static_cast<int>(duration / coarseStep.step));
    const auto finePath = path(fine, seed, static_cast<int>(duration / fineStep.step));
    const auto a = section.crossings(coarse, seed, coarsePath.data(),
                                     static_cast<std::int32_t>(coarsePath.size() / 3));
    const auto b = section.crossings(fine, seed, finePath.data(),
                                     static_cast<std::int32_t>(finePath.size() / 3));
    ASSERT_GE(a.size(), 3u);
    ASSERT_EQ(a.size(), b.size());
    const double size = extent(finePath);
    for (std::size_t k = 0; k < a.size(); ++k) {
        EXPECT_DOUBLE_EQ(a[k].state.z, 27.0);
        const kinora::Vector3 d = a[k].state - b[k].state;
        EXPECT_LT(std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z), 1e-6 * size) << "crossing " << k;
    }
}

TEST(PoincareSection, CountsOnlyTheChosenDirection) {
    // A circle x = cos t, y = sin t crosses x = 0 downward at t = π/2 and upward at 3π/2.
    kinora::RK4Integrator integrator(0.01);
    KinoraSystem circle([](double, const std::vector<kinora::Parameter>&,
                           kinora::Vector3 s) { return kinora::Vector3(-s.y, s.x, 0.0); },
                        &integrator, 0);
    const kinora::Vector3 seed(1, 0, 0);
    const auto states = path(circle, seed, 700);
    const auto down = kinora::PoincareSection(0, 0.0, kinora::CrossingDirection::decreasing)
                          .crossings(circle, seed, states.data(), 700);
    const auto both = kinora::PoincareSection(0, 0.0, kinora::CrossingDirection::both)
                          .crossings(circle, seed, states.data(), 700);
    ASSERT_EQ(down.size(), 1u);
    EXPECT_NEAR(down[0].time, M_PI / 2, 1e-9);
    EXPECT_NEAR(down[0].state.y, 1.0, 1e-9);
    ASSERT_EQ(both.size(), 2u);
    EXPECT_NEAR(both[1].time, 3 * M_PI / 2, 1e-9);
}

} // namespace
