#pragma once

#include "PathDriver.h"

namespace kinora {

// Steps through KinoraSystem::advance, the system's own integrator, one state at a time.
class SystemPathDriver final : public PathDriver {
public:
    std::string beginFan() override { return {}; }
    std::string beginEvolution(const KinoraSystem&) override { return {}; }
    bool advance(const KinoraSystem& system, PathCursor& cursor, std::int32_t count, double* states,
                 EvolutionOutcome& outcome) override;
};

} // namespace kinora
