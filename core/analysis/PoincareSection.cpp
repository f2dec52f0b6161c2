#include "PoincareSection.h"

#include "HermiteCubic.h"
#include "RK4Integrator.h"

#include <cmath>

namespace kinora {

bool PoincareSection::passes(double before, double after) const {
    const bool up = before < 0.0 && after >= 0.0;
    const bool down = before > 0.0 && after <= 0.0;
    switch (direction) {
    case CrossingDirection::increasing:
        return up;
    case CrossingDirection::decreasing:
        return down;
    case CrossingDirection::both:
        return up || down;
    }
    return false;
}

std::optional<SectionCrossing> PoincareSection::crossingWithinStep(const KinoraSystem& system,
                                                                   Vector3 from, Vector3 to,
                                                                   double t) const {
    const double g0 = coordinate(from) - value;
    const double g1 = coordinate(to) - value;
    if (!passes(g0, g1)) {
        return std::nullopt;
    }
    const double h = system.integrator->integrationStep();
    const HermiteCubic cubic{g0, g1, h * coordinate(system.evolution(t, system.parameters, from)),
                             h * coordinate(system.evolution(t, system.parameters, to))};
    double fraction = cubic.root();
    // The crossing of the integrated path: g(τ) = coordinate of an RK4 step of τ·h from `from`.
    RK4Integrator partial(fraction * h);
    Vector3 state = partial.integrate(system.evolution, system.parameters, t, from);
    for (int i = 0; i < 3; ++i) {
        const double speed = h * coordinate(system.evolution(t, system.parameters, state));
        if (speed == 0.0) {
            break;
        }
        const double refined = fraction - (coordinate(state) - value) / speed;
        if (!(refined >= 0.0 && refined <= 1.0)) {
            break;
        }
        fraction = refined;
        partial.setIntegrationStep(fraction * h);
        state = partial.integrate(system.evolution, system.parameters, t, from);
    }
    return SectionCrossing{t + fraction * h, state};
}

std::vector<SectionCrossing> PoincareSection::crossings(const KinoraSystem& system, Vector3 seed,
                                                        const double* states,
                                                        std::int32_t count) const {
    const double h = system.integrator->integrationStep();
    std::vector<SectionCrossing> found;
    Vector3 from = seed;
    for (std::int32_t i = 0; i < count; ++i) {
        const double* s = states + 3 * static_cast<std::size_t>(i);
        const Vector3 to(s[0], s[1], s[2]);
        if (!std::isfinite(to.x) || !std::isfinite(to.y) || !std::isfinite(to.z)) {
            break;
        }
        if (const auto crossing = crossingWithinStep(system, from, to, i * h)) {
            found.push_back(*crossing);
        }
        from = to;
    }
    return found;
}

} // namespace kinora
