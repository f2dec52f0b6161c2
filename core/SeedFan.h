#pragma once

#include "BoundingBox.h"
#include "EvolutionOutcome.h"
#include "KinoraSystem.h"
#include "PathDriver.h"
#include "Trajectory.h"
#include "Vector3.h"

#include <cstdint>
#include <vector>

namespace kinora {

// One evolution's path: the computed states in double precision (for exports and fitting), the
// same states as the float vertices the view draws, and what the computation ran into.
struct FanPath {
    // The fraction of the parameters' sweep this evolution ran at.
    double s = 0.0;
    // x, y, z of vertex i at 3i ... 3i+2; from the path's end on NaN, the rest all NaN.
    std::vector<double> states;
    std::vector<PathVertex> vertices;
    EvolutionOutcome outcome;
    // Every finite vertex the window shows, from the first after the transient on: filled on the
    // worker that computed the path (ParallelFans), so the window's thread need not visit every
    // vertex; left empty by whoever else computes fans.
    BoundingBox shownBounds;
};

// The fan of one seed: for every evolution m of a sweep, the system's parameters set to the
// point at fraction m / (evolutions - 1) of their sweep (0 for a single evolution), then
// `count` steps integrated from the seed. Vertex i is the state after i + 1 steps with its
// displacement from the seed. The work can be done at once (compute) or in slices
// (start, then advance until it reports completion); both give the same bits. Buffers are kept
// between fans, so recomputing a fan of the same size allocates nothing.
class SeedFan {
public:
    // Drops the previous fan's results and prepares `evolutions` paths of `count` vertices.
    void start(Vector3 seed, std::int32_t evolutions, std::int32_t count);
    // Integrates at most stepBudget further steps (at least one), evolution by evolution,
    // setting the system's parameters for each. Returns true once every path is complete. The
    // system's parameters hold the values of the evolution worked on last.
    bool advance(KinoraSystem& system, PathDriver& driver, std::int64_t stepBudget);
    // The whole fan in one go.
    void compute(KinoraSystem& system, PathDriver& driver, Vector3 seed, std::int32_t evolutions,
                 std::int32_t count);

    std::int32_t evolutionCount() const { return _evolutionCount; }
    std::int32_t vertexCount() const { return _vertexCount; }
    // Paths 0 ... completedCount() - 1 are final.
    std::int32_t completedCount() const { return completed; }
    bool isComplete() const { return completed == _evolutionCount; }
    const FanPath& path(std::int32_t m) const { return paths[static_cast<std::size_t>(m)]; }
    FanPath& path(std::int32_t m) { return paths[static_cast<std::size_t>(m)]; }
    // 0 ... vertexCount() - 1, the index array every path is drawn with.
    const std::vector<std::uint32_t>& indices() const { return _indices; }

private:
    void beginEvolution(KinoraSystem& system, PathDriver& driver);

    Vector3 _seed;
    std::int32_t _evolutionCount = 0;
    std::int32_t _vertexCount = 0;
    std::int32_t completed = 0;
    bool fanBegun = false;
    bool evolutionBegun = false;
    std::string fanError;
    PathCursor cursor;
    std::vector<FanPath> paths;
    std::vector<std::uint32_t> _indices;
};

// The sweep fraction of evolution m of `evolutions`.
double sweepFraction(std::int32_t m, std::int32_t evolutions);

} // namespace kinora
