#pragma once

#include "ProtectedScriptValue.h"
#include "ScriptContext.h"
#include "Vector3.h"

#include <JavaScriptCore/JavaScript.h>
#include <cstdint>

namespace kinora {

// Integrates many RK4 steps of a script's `evolution` in one entry into the engine, instead of
// four calls from the program per step: the per-call cost of crossing into the engine is what
// makes a script system slow, not its arithmetic. The driver is compiled into the context
// before the user's script runs and is held only here, so the script can neither see nor
// replace it nor the built-ins it uses. It does the arithmetic of RK4Integrator in the same
// grouping, so every state has the bits of the program's own RK4 with the script's function.
class ScriptRK4Driver {
public:
    // What one run produced: states 0 ... written - 1 are valid. A run ends early at its first
    // state whose three coordinates are NaN (a NaN coordinate stays NaN, so every later state
    // would be NaN too; one NaN coordinate alone leaves the others going on), when `evolution`
    // throws (that state is NaN; the exception is kept, caught inside the engine where it is
    // cheap), or when the time limit stopped it.
    struct Run {
        std::int32_t written = 0;
        bool stopped = false;
        JSValueRef exception = nullptr;
    };

    // Compiles the driver into context; call before any user script runs there.
    explicit ScriptRK4Driver(ScriptContext& context);

    // count steps of evolution from state with step h and the stored half step h2, writing the
    // state after step i to states[3i ... 3i+2]. evolution is called with `this` unset and
    // (parameters, x, y, z), its result read as elements 0, 1 and 2 converted to numbers.
    Run run(JSObjectRef evolution, JSValueRef parameters, Vector3 state, std::int32_t count,
            double h, double h2, double* states);

    // The longest CPU time one step may take before the run is stopped: a tenth of a second
    // for a fan of ten paths whose `evolution` never returns, yet far above the few
    // microseconds of a sound step, or the 4 ms of a script that spends 1 ms per call.
    static constexpr double stepTimeLimit = 0.008;

private:
    ScriptContext& context;
    ProtectedScriptValue driver;
    // How many states the running driver has written; the time limit watches it.
    double progress = 0.0;
};

} // namespace kinora
