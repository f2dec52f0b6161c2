#pragma once

#include "KinoraSystem.h"
#include "Vector3.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace kinora {

// One point of a path as the path shader reads it: the state and its displacement from the seed.
struct PathVertex {
    float position[3];
    float displacement[3];
};
static_assert(sizeof(PathVertex) == 24, "the shaders read 24-byte vertices");

// The largest path we compute: beyond it a tiny step would freeze the window and exhaust memory.
constexpr std::int32_t maxTrajectoryVertices = 1'000'000;

// How many whole steps fit in pathLength, reckoned with the two numbers as they are written
// (their shortest decimal forms), not with their binary roundings: 20 / 1e-5 gives 2,000,000,
// though the doubles divide to 1,999,999.9999999998, and 0.3 / 0.1 gives 3. Exact up to 10^17;
// beyond that the doubles' quotient, truncated. Every count the program computes or states comes
// from here. NaN for a step that is not positive and finite or a pathLength that is not finite.
double wholeStepCount(double pathLength, double step);

// wholeStepCount, or nothing when the step is not positive and finite or the count falls
// outside 1 ... maxTrajectoryVertices.
std::optional<std::int32_t> trajectoryVertexCount(double pathLength, double step);

// How many of a path's count vertices lie within fraction (0 ... 1) of its duration: all of
// them at 1 and beyond, none at 0.
std::int32_t verticesUpToFraction(double fraction, std::int32_t count);

// Sets every parameter's value to the point at fraction s of its sweep, unclamped.
void setParametersAtSweepFraction(KinoraSystem& system, double s);

// The vertex and index arrays of one path; reused across paths so integration allocates nothing
// once the size is reached.
class Trajectory {
public:
    std::vector<PathVertex> vertices;
    std::vector<std::uint32_t> indices;

    // count steps of system from seed: vertex i is the state after i + 1 steps, index i is i.
    void integrate(const KinoraSystem& system, Vector3 seed, std::int32_t count);
};

} // namespace kinora
