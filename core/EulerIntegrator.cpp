#include "EulerIntegrator.h"

namespace kinora {

Vector3 EulerIntegrator::integrate(EvolutionFunction f, const std::vector<Parameter>& parameters,
                                   double t, Vector3 x) const {
    return x + f(t, parameters, x) * step;
}

} // namespace kinora
