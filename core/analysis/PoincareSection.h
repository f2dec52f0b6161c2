#pragma once

#include "KinoraSystem.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace kinora {

// Which passages through the plane count.
enum class CrossingDirection { increasing, decreasing, both };

// A point where a path passes through the section plane, at the path's time t.
struct SectionCrossing {
    double time = 0.0;
    Vector3 state;
};

// The plane where coordinate `axis` (0 x, 1 y, 2 z) equals `value`, and the passages through it
// in `direction` (increasing: the coordinate grows through the plane).
class PoincareSection {
public:
    int axis = 2;
    double value = 0.0;
    CrossingDirection direction = CrossingDirection::increasing;

    PoincareSection() = default;
    PoincareSection(int axis, double value, CrossingDirection direction)
        : axis(axis), value(value), direction(direction) {}

    // The crossing within one step of system's integrator from `from` (at time t) to `to`, or
    // nothing. The step's cubic Hermite interpolant, from the states and their derivatives at
    // both ends, places the crossing; Newton's method then refines it on a partial RK4 step
    // from `from`, so the crossing lies on the integrated path itself and not only on the
    // interpolant.
    std::optional<SectionCrossing> crossingWithinStep(const KinoraSystem& system, Vector3 from,
                                                      Vector3 to, double t) const;

    // Every crossing of a path of system from seed whose state after step i + 1 is at
    // states[3i ... 3i+2], i < count, and at time (i + 1) · step; a path ends at its first
    // non-finite state.
    std::vector<SectionCrossing> crossings(const KinoraSystem& system, Vector3 seed,
                                           const double* states, std::int32_t count) const;

    double coordinate(Vector3 v) const { return axis == 0 ? v.x : (axis == 1 ? v.y : v.z); }
    // Whether a step from a state at distance `before` from the plane to one at `after` passes
    // through it in the chosen direction; a state on the plane ends the step that reaches it.
    bool passes(double before, double after) const;
};

} // namespace kinora
