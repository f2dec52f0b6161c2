#include "ScriptContext.h"

#include "ExecutionTimeLimit.h"
#include "ScriptEngineStartup.h"

#include <cassert>
#include <cmath>

namespace kinora {

ScriptContext::ScriptContext() {
    // Whoever creates a context has made sure the engine can start; asking again here also
    // sets the engine's options before the first context whatever the caller.
    [[maybe_unused]] const bool canStart = !ScriptEngineStartup::failure();
    assert(canStart);
    _ref = JSGlobalContextCreate(nullptr);
    assert(_ref);
}

ScriptContext::~ScriptContext() {
    JSGlobalContextRelease(_ref);
}

void ScriptContext::setTimeLimit(double seconds) {
    timeLimit = seconds;
    JSContextGroupSetExecutionTimeLimit(JSContextGetGroup(_ref), seconds, stopRun, this);
}

namespace {

// The innermost frame of the calling thread: called from the time limit's callback, which runs
// on top of the script's frames, it tells how deep the script's stack is.
[[gnu::noinline]] std::uintptr_t stackTop() {
    return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
}

} // namespace

void ScriptContext::watchProgress(const double* watched, double quietSeconds) {
    progress = watched;
    lastProgress = *watched;
    progressStackTop = stackTop();
    quietTicks = 0;
    allowedQuietTicks = static_cast<int>(std::ceil(quietSeconds / progressTick));
    // The engine calls back at every tick; a callback that lets the run go on gets another.
    JSContextGroupSetExecutionTimeLimit(JSContextGetGroup(_ref), progressTick, stopRun, this);
}

void ScriptContext::endProgressWatch() {
    progress = nullptr;
    setTimeLimit(timeLimit);
}

bool ScriptContext::isStalled(std::uintptr_t top) {
    const bool descended = top < progressStackTop && progressStackTop - top >= stackStride;
    if (*progress != lastProgress || descended) {
        lastProgress = *progress;
        progressStackTop = top;
        quietTicks = 0;
        return false;
    }
    return ++quietTicks >= allowedQuietTicks;
}

bool ScriptContext::stopRun(JSContextRef, void* context) {
    auto* self = static_cast<ScriptContext*>(context);
    if (self->progress && !self->isStalled(stackTop())) {
        // Letting the run go on does not by itself bring another call; setting the limit anew
        // does.
        JSContextGroupSetExecutionTimeLimit(JSContextGetGroup(self->_ref), progressTick, stopRun,
                                            self);
        return false;
    }
    self->_stopped = true;
    return true;
}

} // namespace kinora
