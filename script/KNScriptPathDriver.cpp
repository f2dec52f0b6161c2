#include "KNScriptPathDriver.h"

#include "KNJavascriptEngine.h"
#include "SystemPathDriver.h"

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
    kinora::SystemPathDriver().advance(system, cursor, count, states, outcome);
    outcome.stopped = outcome.stopped || engine.callWasStopped();
    return true;
}
