#pragma once

#include "Trajectory.h"

#include <cstdint>
#include <vector>

// What a fan keeps of one path: the states in double precision and the vertices drawn.
struct HandWrittenPath {
    std::vector<double> states;
    std::vector<kinora::PathVertex> vertices;
};

// The program's RK4 path written out with nothing in the way: the floor the benchmarks compare
// against. The arithmetic and its grouping match RK4Integrator bit for bit.
template <class Derivative>
void handWrittenRK4Path(HandWrittenPath& out, kinora::Vector3 seed, std::int32_t count, double step,
                        Derivative&& derivative) {
    const double h = step, h2 = step / 2.0, sixth = step / 6.0;
    out.states.resize(3 * static_cast<size_t>(count));
    out.vertices.resize(static_cast<size_t>(count));
    kinora::Vector3 x = seed;
    for (std::int32_t i = 0; i < count; ++i) {
        const kinora::Vector3 k1 = derivative(x);
        const kinora::Vector3 k2 = derivative(x + k1 * h2);
        const kinora::Vector3 k3 = derivative(x + k2 * h2);
        const kinora::Vector3 k4 = derivative(x + k3 * h);
        x = x + ((k1 + (k2 + k3) * 2.0) + k4) * sixth;
        double* state = &out.states[3 * static_cast<size_t>(i)];
        state[0] = x.x;
        state[1] = x.y;
        state[2] = x.z;
        const kinora::Vector3 d = x - seed;
        out.vertices[static_cast<size_t>(i)] = {
            {static_cast<float>(x.x), static_cast<float>(x.y), static_cast<float>(x.z)},
            {static_cast<float>(d.x), static_cast<float>(d.y), static_cast<float>(d.z)}};
    }
}
