#include "ScriptEngineOptions.h"

#include <jsc/jsc.h>

namespace kinora {

namespace {

bool setAll() {
    // Optimised code by default checks the time limit only when a signal interrupts it, and
    // that misses some runs of a compiled endless loop; checking at every loop head always
    // stops it.
    return jsc_options_set_boolean("usePollingTraps", TRUE);
}

} // namespace

bool ScriptEngineOptions::apply() {
    static const bool applied = setAll();
    return applied;
}

} // namespace kinora
