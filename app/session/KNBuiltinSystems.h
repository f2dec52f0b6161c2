#pragma once

#include "EvolutionFunction.h"
#include "JacobianMatrix.h"

#include <string>
#include <vector>

// A system compiled into the program, known by the name sessions record for it.
struct KNBuiltinSystem {
    std::string name;
    EvolutionFunction evolution;
    std::vector<std::string> parameterNames;
    kinora::JacobianFunction jacobian;
};

// The built-in system called name ("lorenz", "rossler"), or null.
const KNBuiltinSystem* findBuiltinSystem(const std::string& name);
// The built-in system with this evolution function, or null (a script's, for one).
const KNBuiltinSystem* findBuiltinSystem(EvolutionFunction evolution);
// The written-out Jacobian of the built-in system with this evolution function, or null for
// central differences (a script's).
kinora::JacobianFunction jacobianOf(EvolutionFunction evolution);
