#include "KNScriptPathDriver.h"

#include "KNJavascriptEngine.h"
#include "RK4Integrator.h"
#include "SystemPathDriver.h"

#include <cmath>

std::string KNScriptPathDriver::beginFan() {
    KNError error;
    engine.makeCurrentEngineOrError(&error);
    return error.failureReason;
}

std::string KNScriptPathDriver::beginEvolution(const KinoraSystem& system) {
    KNError error;
    engine.prepareToEvaluateSystem(system, &error);
    return error.failureReason;
}

bool KNScriptPathDriver::advance(const KinoraSystem& system, kinora::PathCursor& cursor,
                                 std::int32_t count, double* states,
                                 kinora::EvolutionOutcome& outcome) {
    // Other methods step through the shared callback, as the system itself does.
    const auto* rk4 = dynamic_cast<const kinora::RK4Integrator*>(system.integrator);
    if (!rk4) {
        kinora::SystemPathDriver().advance(system, cursor, count, states, outcome);
        outcome.stopped = outcome.stopped || engine.callWasStopped();
        return true;
    }

    double* written = states + 3 * static_cast<std::size_t>(cursor.index);
    const kinora::ScriptRK4Driver::Run run =
        engine.integrateRK4(cursor.state, count, rk4->step, rk4->halfStep, written);
    if (run.written > 0) {
        const double* last = written + 3 * static_cast<std::size_t>(run.written - 1);
        cursor.state = kinora::Vector3(last[0], last[1], last[2]);
        cursor.index += run.written;
    }
    outcome.stopped = outcome.stopped || run.stopped;
    if (run.exception && outcome.error.empty()) {
        outcome.error = engine.errorFromJSException(run.exception).failureReason;
    }
    return run.written == count;
}
