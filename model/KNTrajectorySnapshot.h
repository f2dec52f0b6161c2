#pragma once

#include "EvolutionFunction.h"
#include "Parameter.h"
#include "Vector3.h"

#include <cstdint>
#include <memory>
#include <vector>

class KNJavascriptEngine;

// Everything a window's trajectories are computed from, copied when an export starts, so the
// user can go on editing the window while the export computes the trajectories of that moment.
struct KNTrajectorySnapshot {
    struct SeedFanShape {
        kinora::Vector3 position;
        // The evolutions the window shows for this seed (its other paths are blank).
        std::int32_t evolutions = 0;
    };

    std::vector<kinora::Parameter> parameters;
    EvolutionFunction evolution = nullptr;
    // The window's engine for a script system, else null. Shared with the window, which uses
    // it from the same thread; every slice of a fan hands the engine its own parameter values.
    std::shared_ptr<KNJavascriptEngine> engine;
    double step = 0.0;
    std::int32_t vertexCount = 0;
    // In the order the seeds were placed.
    std::vector<SeedFanShape> seeds;
};
