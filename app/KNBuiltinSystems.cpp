#include "KNBuiltinSystems.h"

#include "KNDefinitions.h"

#include <array>

const KNBuiltinSystem* findBuiltinSystem(const std::string& name) {
    static const std::array<KNBuiltinSystem, 2> systems{{
        {"lorenz", lorenz, {"rho", "sigma", "beta"}, lorenzJacobian},
        {"rossler", rossler, {"a", "b", "c"}, rosslerJacobian},
    }};
    for (const KNBuiltinSystem& system : systems) {
        if (system.name == name) {
            return &system;
        }
    }
    return nullptr;
}
