#pragma once

#include <JavaScriptCore/JavaScript.h>
#include <limits>

namespace kinora {

// Owns a global script context, alone in its context group, and stops any run of script code in
// it that exceeds the time limit, so a script that never returns cannot freeze the program.
class ScriptContext {
public:
    ScriptContext();
    ~ScriptContext();
    // The group's time-limit callback keeps this object's address.
    ScriptContext(const ScriptContext&) = delete;
    ScriptContext& operator=(const ScriptContext&) = delete;

    JSGlobalContextRef ref() const { return _ref; }
    JSObjectRef globalObject() const { return JSContextGetGlobalObject(_ref); }

    // Applies to every later entry into script code, each timed on its own (CPU time).
    void setTimeLimit(double seconds);
    // Until endProgressWatch, a run is no longer stopped at the time limit but once *progress
    // has stayed unchanged for quietSeconds of CPU time (checked every progressTick), so one
    // entry may run for as long as it keeps advancing.
    void watchProgress(const double* progress, double quietSeconds);
    void endProgressWatch();
    // Whether the limit has stopped a run since the last clearStopped.
    bool wasStopped() const { return _stopped; }
    void clearStopped() { _stopped = false; }

    static constexpr double progressTick = 0.002;

private:
    static bool stopRun(JSContextRef, void* context);
    // Whether a run being watched has gone without progress for too long.
    bool isStalled();

    JSGlobalContextRef _ref = nullptr;
    bool _stopped = false;
    double timeLimit = std::numeric_limits<double>::infinity();
    const double* progress = nullptr;
    double lastProgress = 0.0;
    int quietTicks = 0;
    int allowedQuietTicks = 0;
};

} // namespace kinora
