#pragma once

#include "Integrator.h"

namespace kinora {

// The classical fourth-order Runge-Kutta method.
class RK4Integrator : public Integrator {
public:
    explicit RK4Integrator(double h) : Integrator(h) {}

    Vector3 integrate(EvolutionFunction f, const std::vector<Parameter>& parameters, double t,
                      Vector3 x) const override;
};

} // namespace kinora
