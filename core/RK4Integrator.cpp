#include "RK4Integrator.h"

namespace kinora {

Vector3 RK4Integrator::integrate(EvolutionFunction f, const std::vector<Parameter>& parameters,
                                 double t, Vector3 x) const {
    const double h = step;
    const double h2 = halfStep;
    const Vector3 k1 = f(t, parameters, x);
    const Vector3 k2 = f(t + h2, parameters, x + k1 * h2);
    const Vector3 k3 = f(t + h2, parameters, x + k2 * h2);
    const Vector3 k4 = f(t + h, parameters, x + k3 * h);
    // The grouping is fixed so every build computes the same bits.
    const Vector3 sum = (k1 + (k2 + k3) * 2.0) + k4;
    return x + sum * (h / 6.0);
}

} // namespace kinora
