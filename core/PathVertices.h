#pragma once

#include "EvolutionOutcome.h"
#include "Trajectory.h"
#include "Vector3.h"

#include <cstdint>

namespace kinora {

// The vertex the view draws for a state of a path from seed: the position and the displacement
// from the seed, each narrowed to float from double precision.
inline PathVertex pathVertex(Vector3 position, Vector3 seed) {
    const Vector3 displacement = position - seed;
    return {{static_cast<float>(position.x), static_cast<float>(position.y),
             static_cast<float>(position.z)},
            {static_cast<float>(displacement.x), static_cast<float>(displacement.y),
             static_cast<float>(displacement.z)}};
}

// Notes in outcome the first of states from ... to - 1 (x, y, z of state i at 3i ... 3i+2) with
// a coordinate that is infinite or NaN, unless an earlier one was noted.
void noteFirstNonFinite(const double* states, std::int32_t from, std::int32_t to,
                        EvolutionOutcome& outcome);

// Writes vertices[i] for states i = from ... to - 1 and notes the first non-finite one.
void writePathVertices(const double* states, PathVertex* vertices, std::int32_t from,
                       std::int32_t to, Vector3 seed, EvolutionOutcome& outcome);

} // namespace kinora
