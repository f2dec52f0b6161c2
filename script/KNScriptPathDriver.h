#pragma once

#include "PathDriver.h"

class KNJavascriptEngine;

// Integrates the paths of a script system through its engine: the engine is made current once
// per fan and handed each evolution's parameter values; errors and stopped calls go into the
// path's outcome instead of interrupting the fan.
class KNScriptPathDriver final : public kinora::PathDriver {
public:
    // The engine must outlive the driver.
    explicit KNScriptPathDriver(KNJavascriptEngine& engine) : engine(engine) {}

    std::string beginFan() override;
    std::string beginEvolution(const KinoraSystem& system) override;
    bool advance(const KinoraSystem& system, kinora::PathCursor& cursor, std::int32_t count,
                 double* states, kinora::EvolutionOutcome& outcome) override;

private:
    KNJavascriptEngine& engine;
};
