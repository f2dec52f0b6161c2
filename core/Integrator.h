#pragma once

#include "EvolutionFunction.h"

namespace kinora {

// One fixed step of a numerical method; the step is the only state it keeps.
class Integrator {
public:
    double step;
    double halfStep;

    explicit Integrator(double h) : step(h), halfStep(h / 2.0) {}
    virtual ~Integrator() = default;

    // The state one step after x; t is x's time and is only handed to f.
    virtual Vector3 integrate(EvolutionFunction f, const std::vector<Parameter>& parameters,
                              double t, Vector3 x) const = 0;

    double integrationStep() const { return step; }
    void setIntegrationStep(double h) {
        step = h;
        halfStep = step / 2.0;
    }
};

} // namespace kinora
