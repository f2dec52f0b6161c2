#include "KNBuiltinSystems.h"

#include "KNDefinitions.h"

#include <array>

namespace {

const std::array<KNBuiltinSystem, 2>& builtinSystems() {
    static const std::array<KNBuiltinSystem, 2> systems{{
        {"lorenz", lorenz, {"rho", "sigma", "beta"}, lorenzJacobian},
        {"rossler", rossler, {"a", "b", "c"}, rosslerJacobian},
    }};
    return systems;
}

} // namespace

const KNBuiltinSystem* findBuiltinSystem(const std::string& name) {
    for (const KNBuiltinSystem& system : builtinSystems()) {
        if (system.name == name) {
            return &system;
        }
    }
    return nullptr;
}

const KNBuiltinSystem* findBuiltinSystem(EvolutionFunction evolution) {
    for (const KNBuiltinSystem& system : builtinSystems()) {
        if (system.evolution == evolution) {
            return &system;
        }
    }
    return nullptr;
}

kinora::JacobianFunction jacobianOf(EvolutionFunction evolution) {
    const KNBuiltinSystem* builtin = findBuiltinSystem(evolution);
    return builtin ? builtin->jacobian : nullptr;
}
