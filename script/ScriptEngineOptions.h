#pragma once

namespace kinora {

// The script engine's process-wide options. The engine reads them when its first context is
// created and crashes if one is changed afterwards, so they are set here, once, and only here:
// ScriptEngineStartup calls apply() before any context is created (ScriptContext insists on
// it), and nothing else in the program creates a context or touches an option.
class ScriptEngineOptions {
public:
    // Sets every option on the first call; later calls do nothing. Returns whether the engine
    // took them.
    static bool apply();
};

} // namespace kinora
