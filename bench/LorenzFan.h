#pragma once

#include "KinoraSystem.h"
#include "Trajectory.h"
#include "Vector3.h"

#include <cstdint>

// The recomputation every benchmark times: one seed's fan of 10 evolutions x 1000 RK4 steps of
// Lorenz, rho swept from 10 to 28 with sigma and beta fixed.
namespace lorenzFan {

constexpr int evolutions = 10;
constexpr double step = 0.01;
constexpr double pathLength = 10.0;
inline const kinora::Vector3 seed(1.0, 1.0, 1.0);

inline std::int32_t vertexCount() {
    return *kinora::trajectoryVertexCount(pathLength, step);
}

inline double sweepFraction(int m) {
    return static_cast<double>(m) / (evolutions - 1);
}

// For a system whose parameters are rho, sigma and beta in that order.
inline void setSweep(KinoraSystem& system) {
    system.parameter(0).setMin(10.0);
    system.parameter(0).setMax(28.0);
    system.parameter(1).setMin(10.0);
    system.parameter(1).setMax(10.0);
    system.parameter(2).setMin(8.0 / 3.0);
    system.parameter(2).setMax(8.0 / 3.0);
}

} // namespace lorenzFan
