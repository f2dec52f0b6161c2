#pragma once

#include "EquilibriumSearch.h"
#include "KNTrajectorySnapshot.h"
#include "LyapunovEstimate.h"
#include "PathDriver.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kinora {

// What the analysis found for one evolution of a window's sweep.
struct EvolutionFindings {
    std::int32_t evolution = 0;
    double s = 0.0;
    EquilibriumSearchResult equilibria;
    // The Newton starts tried: the origin, the seeds and points along their paths.
    int newtonStarts = 0;
    // The largest exponent of each seed's path, in the seeds' order.
    std::vector<LyapunovEstimate> exponents;
};

// Computes the findings about a snapshot's system, one evolution at a time, with a system and a
// driver of the caller's (a worker's own, or the command line's), so the window and the tables
// find the same points and exponents to the last bit. Sets the system's parameters and its
// integrator's step.
class FindingsAnalyst {
public:
    // Newton starts taken along every seed's path, besides the origin and the seeds.
    static constexpr int startsPerPath = 20;

    FindingsAnalyst(const KNTrajectorySnapshot& snapshot, KinoraSystem& system, PathDriver& driver,
                    JacobianFunction jacobian);

    // The evolutions of the sweep (those of the first seed; none without a seed).
    std::int32_t evolutions() const;
    // Before the first evolution: an error that concerns every path, or empty.
    std::string begin();
    // Sets the system to evolution m; a script's error, or empty.
    std::string beginEvolution(std::int32_t m);
    // The path of the current evolution from seed, as the window computes it, into states
    // (3 doubles per vertex); a script's error, or empty.
    std::string path(Vector3 seed, std::vector<double>* states);
    // The equilibria of the current evolution, from Newton starts at the origin, the seeds and
    // startsPerPath points along every seed's path; a script's error, or empty.
    std::string equilibria(EquilibriumSearchResult* found, int* starts);
    // The largest exponent of the current evolution's path from seed, its first tenth the
    // transient.
    LyapunovEstimate exponent(Vector3 seed, const std::function<bool()>& cancelled = {});

private:
    const KNTrajectorySnapshot& snapshot;
    KinoraSystem& system;
    PathDriver& driver;
    JacobianFunction jacobian;
    std::vector<double> states;
};

} // namespace kinora
