#include "ScriptContext.h"

#include "ExecutionTimeLimit.h"

#include <cassert>
#include <jsc/jsc.h>

namespace kinora {

namespace {

// Optimised code by default checks the time limit only when a signal interrupts it, and that
// misses some runs of a compiled endless loop; checking at every loop head always stops it. The
// option must be set before the first context exists.
bool pollForTimeLimit() {
    return jsc_options_set_boolean("usePollingTraps", TRUE);
}

} // namespace

ScriptContext::ScriptContext() {
    [[maybe_unused]] static const bool polling = pollForTimeLimit();
    assert(polling);
    _ref = JSGlobalContextCreate(nullptr);
    assert(_ref);
}

ScriptContext::~ScriptContext() {
    JSGlobalContextRelease(_ref);
}

void ScriptContext::setTimeLimit(double seconds) {
    JSContextGroupSetExecutionTimeLimit(JSContextGetGroup(_ref), seconds, stopRun, this);
}

bool ScriptContext::stopRun(JSContextRef, void* context) {
    static_cast<ScriptContext*>(context)->_stopped = true;
    return true;
}

} // namespace kinora
