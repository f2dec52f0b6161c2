#pragma once

#include "EvolutionFunction.h"
#include "Integrator.h"

#include <vector>

// A system of three ODEs: its parameters, its evolution function and the integrator that steps it.
// The integrator is not owned and must outlive every call of advance.
class KinoraSystem {
public:
    std::vector<kinora::Parameter> parameters;
    EvolutionFunction evolution;
    kinora::Integrator* integrator;

    // count default parameters ("unnamed", all values 0) for the caller to name and set.
    KinoraSystem(EvolutionFunction evolution, kinora::Integrator* integrator, int count);

    // Unchecked: 0 <= index < parameterCount() is the caller's obligation.
    kinora::Parameter& parameter(int index) { return parameters[static_cast<size_t>(index)]; }
    int parameterCount() const { return static_cast<int>(parameters.size()); }

    kinora::Vector3 advance(double t, kinora::Vector3 state) const {
        return integrator->integrate(evolution, parameters, t, state);
    }
};
