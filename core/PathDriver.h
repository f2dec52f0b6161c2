#pragma once

#include "EvolutionOutcome.h"
#include "KinoraSystem.h"
#include "PathVertices.h"
#include "Vector3.h"

#include <cstdint>
#include <string>

namespace kinora {

// Where the integration of one path stands: the state after `index` steps and its time.
struct PathCursor {
    Vector3 state;
    double time = 0.0;
    std::int32_t index = 0;
};

// Integrates the paths of a fan for one kind of system. SeedFan calls beginFan once per seed,
// beginEvolution whenever the system's parameters hold a new evolution's values, and advance as
// often as it likes in between, so the work can be cut into slices.
class PathDriver {
public:
    virtual ~PathDriver() = default;

    // Before the first evolution of a seed; the text of an error that concerns every path of
    // the fan, or empty.
    virtual std::string beginFan() = 0;
    // After the parameters were set for an evolution, before its first step, and again before
    // every later advance of it, since other fans may share the driver's engine; an error text
    // or empty.
    virtual std::string beginEvolution(const KinoraSystem& system) = 0;
    // Up to `count` steps from cursor, writing the state after step i to states[3i ... 3i+2]
    // and moving cursor on. Returns false when the path ended early (the time limit stopped the
    // system, or a state turned NaN and all later ones would be NaN too), recording why in
    // outcome; the caller fills the rest of the path with NaN.
    virtual bool advance(const KinoraSystem& system, PathCursor& cursor, std::int32_t count,
                         double* states, EvolutionOutcome& outcome) = 0;
    // advance, also writing vertices[i] for every state i it writes, as the view draws it for a
    // path from seed, and noting the first non-finite state in outcome. A driver that steps in a
    // loop of its own does better to write each vertex in that loop: beside the steps' chain of
    // dependent arithmetic it costs next to nothing, where a pass of its own costs a third more.
    virtual bool advanceWithVertices(const KinoraSystem& system, PathCursor& cursor,
                                     std::int32_t count, double* states, PathVertex* vertices,
                                     Vector3 seed, EvolutionOutcome& outcome) {
        const std::int32_t from = cursor.index;
        const bool goesOn = advance(system, cursor, count, states, outcome);
        writePathVertices(states, vertices, from, cursor.index, seed, outcome);
        return goesOn;
    }
};

// The evolution functions ignore time; it advances by this constant whatever the step.
constexpr double pathTimeIncrement = 0.01;

} // namespace kinora
