#pragma once

#include "Integrator.h"

namespace kinora {

// The forward Euler method.
class EulerIntegrator : public Integrator {
public:
    explicit EulerIntegrator(double h) : Integrator(h) {}

    Vector3 integrate(EvolutionFunction f, const std::vector<Parameter>& parameters, double t,
                      Vector3 x) const override;
};

} // namespace kinora
