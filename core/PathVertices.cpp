#include "PathVertices.h"

namespace kinora {

namespace {
Vector3 stateAt(const double* states, std::int32_t i) {
    const double* state = states + 3 * static_cast<std::size_t>(i);
    return {state[0], state[1], state[2]};
}
} // namespace

void noteFirstNonFinite(const double* states, std::int32_t from, std::int32_t to,
                        EvolutionOutcome& outcome) {
    for (std::int32_t i = from; i < to && !outcome.firstNonFiniteIndex; ++i) {
        if (!hasFiniteCoordinates(stateAt(states, i))) {
            outcome.firstNonFiniteIndex = i;
        }
    }
}

void writePathVertices(const double* states, PathVertex* vertices, std::int32_t from,
                       std::int32_t to, Vector3 seed, EvolutionOutcome& outcome) {
    for (std::int32_t i = from; i < to; ++i) {
        vertices[i] = pathVertex(stateAt(states, i), seed);
    }
    noteFirstNonFinite(states, from, to, outcome);
}

} // namespace kinora
