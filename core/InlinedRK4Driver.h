#pragma once

#include "PathDriver.h"
#include "PathVertices.h"
#include "RK4Integrator.h"
#include "SystemPathDriver.h"

namespace kinora {

// Steps a system whose evolution function is known when the program is built with RK4 written
// out around it, so the compiler inlines the function into every stage instead of calling it
// through a pointer four times per step: the call, not the arithmetic, is most of a built-in
// system's cost. The arithmetic and its grouping are RK4Integrator's, so every state has its
// bits. A system stepped by another method goes through the system as SystemPathDriver does.
template <EvolutionFunction evolution> class InlinedRK4Driver final : public PathDriver {
public:
    std::string beginFan() override { return {}; }
    std::string beginEvolution(const KinoraSystem&) override { return {}; }

    bool advance(const KinoraSystem& system, PathCursor& cursor, std::int32_t count, double* states,
                 EvolutionOutcome& outcome) override {
        const auto* rk4 = dynamic_cast<const RK4Integrator*>(system.integrator);
        if (rk4 == nullptr) {
            return SystemPathDriver().advance(system, cursor, count, states, outcome);
        }
        step<false>(*rk4, system.parameters, cursor, count, states, nullptr, Vector3());
        return true;
    }

    bool advanceWithVertices(const KinoraSystem& system, PathCursor& cursor, std::int32_t count,
                             double* states, PathVertex* vertices, Vector3 seed,
                             EvolutionOutcome& outcome) override {
        const auto* rk4 = dynamic_cast<const RK4Integrator*>(system.integrator);
        if (rk4 == nullptr) {
            return PathDriver::advanceWithVertices(system, cursor, count, states, vertices, seed,
                                                   outcome);
        }
        const std::int32_t from = cursor.index;
        step<true>(*rk4, system.parameters, cursor, count, states, vertices, seed);
        // A coordinate once infinite or NaN stays so, since each step adds to it; a run whose
        // last state is finite therefore has no other state to look at.
        if (cursor.index > from && !hasFiniteCoordinates(cursor.state)) {
            noteFirstNonFinite(states, from, cursor.index, outcome);
        }
        return true;
    }

private:
    template <bool withVertices>
    static void step(const RK4Integrator& rk4, const std::vector<Parameter>& p, PathCursor& cursor,
                     std::int32_t count, double* states, PathVertex* vertices, Vector3 seed) {
        const double h = rk4.step;
        const double h2 = rk4.halfStep;
        Vector3 x = cursor.state;
        double t = cursor.time;
        double* out = states + 3 * static_cast<std::size_t>(cursor.index);
        for (std::int32_t k = 0; k < count; ++k) {
            const Vector3 k1 = evolution(t, p, x);
            const Vector3 k2 = evolution(t + h2, p, x + k1 * h2);
            const Vector3 k3 = evolution(t + h2, p, x + k2 * h2);
            const Vector3 k4 = evolution(t + h, p, x + k3 * h);
            const Vector3 sum = (k1 + (k2 + k3) * 2.0) + k4;
            x = x + sum * (h / 6.0);
            out[0] = x.x;
            out[1] = x.y;
            out[2] = x.z;
            out += 3;
            if constexpr (withVertices) {
                vertices[cursor.index + k] = pathVertex(x, seed);
            }
            t += pathTimeIncrement;
        }
        cursor.state = x;
        cursor.time = t;
        cursor.index += count;
    }
};

} // namespace kinora
