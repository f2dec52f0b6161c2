#pragma once

#include "Vector3.h"

#include <optional>
#include <vector>

namespace kinora {

// How a system's window starts, as its script declares it; every part is optional and an absent
// part keeps the window's own default.
struct InitialDeclaration {
    // The sweep of one parameter, named by its index.
    struct Sweep {
        int parameter = 0;
        double start = 0.0;
        double end = 0.0;
    };

    // A window starts with at most this many declared seeds.
    static constexpr std::size_t maxSeeds = 100;
    // The evolutions a declaration may ask for: at least one path per seed, at most the paths a
    // seed has.
    static constexpr int minEvolutions = 1;
    static constexpr int maxEvolutions = 20;

    std::vector<Sweep> sweeps;
    // Replaces the window's default seed when present.
    std::optional<std::vector<Vector3>> seeds;
    std::optional<double> duration;
    std::optional<double> step;
    std::optional<int> evolutions;
    // The time hidden at the start of every path.
    std::optional<double> transient;
    // A section plane the window starts with, shown with its crossings: where coordinate axis
    // (0 x, 1 y, 2 z) equals value, crossed going up (0), down (1) or either way (2).
    struct SectionPlane {
        int axis = 2;
        double value = 0.0;
        int direction = 0;
    };
    std::optional<SectionPlane> section;
};

} // namespace kinora
