#pragma once

#include <JavaScriptCore/JavaScript.h>

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
    // Whether the limit has stopped a run since the last clearStopped.
    bool wasStopped() const { return _stopped; }
    void clearStopped() { _stopped = false; }

private:
    static bool stopRun(JSContextRef, void* context);

    JSGlobalContextRef _ref = nullptr;
    bool _stopped = false;
};

} // namespace kinora
