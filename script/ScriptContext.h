#pragma once

#include <JavaScriptCore/JavaScript.h>
#include <cstdint>
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
    // Until endProgressWatch, a run is no longer stopped at the time limit but once it has made
    // no progress for quietSeconds of CPU time (checked every progressTick), so one entry may run
    // for as long as it keeps advancing. Progress is a change of *progress, or the run's stack
    // reaching stackStride deeper than where it last made progress: a recursion without end then
    // always ends at the stack's limit, with the engine's own error, instead of being stopped
    // part way down on a machine too slow to get there within quietSeconds.
    void watchProgress(const double* progress, double quietSeconds);
    void endProgressWatch();
    // Whether the limit has stopped a run since the last clearStopped.
    bool wasStopped() const { return _stopped; }
    void clearStopped() { _stopped = false; }

    // Each tick interrupts the run from a thread of the engine's own, whose interrupting has
    // been seen to crash, rarely, on a busy machine with several engines ticking every 2 ms:
    // coarse ticks interrupt seldom.
    static constexpr double progressTick = 0.01;
    // Some hundred frames of a small function, which a plain recursion descends in microseconds,
    // and a sixty-fourth of the engine's stack: a descent that slow ends within 64 quiet periods.
    static constexpr std::uintptr_t stackStride = 64 * 1024;

private:
    static bool stopRun(JSContextRef, void* context);
    // Whether a run being watched, whose innermost frame is at stackTop now, has gone without
    // progress for too long.
    bool isStalled(std::uintptr_t stackTop);

    JSGlobalContextRef _ref = nullptr;
    bool _stopped = false;
    double timeLimit = std::numeric_limits<double>::infinity();
    const double* progress = nullptr;
    double lastProgress = 0.0;
    // The stack's top where the watched run last made progress; the stack grows downward.
    std::uintptr_t progressStackTop = 0;
    int quietTicks = 0;
    int allowedQuietTicks = 0;
};

} // namespace kinora
