#pragma once

#include <JavaScriptCore/JavaScript.h>

// The library exports the context group's execution time limit, but only its private headers
// declare it.
extern "C" {

// Called on the script's thread when a run exceeds the limit; returning true stops the run.
typedef bool (*JSShouldTerminateCallback)(JSContextRef ctx, void* context);

JS_EXPORT void JSContextGroupSetExecutionTimeLimit(JSContextGroupRef group, double limit,
                                                   JSShouldTerminateCallback callback,
                                                   void* context);
}
