#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kinora {

// How many paths of how many points an exploration computes.
struct ExplorationSize {
    std::int64_t seeds = 0;
    std::int64_t evolutions = 0;
    double step = 0.0;
    double duration = 0.0;
};

// Why a setting cannot be taken, as the sentence the status bar shows, or nothing when it can.
// Each check is made against the other settings in force (current).
class ExplorationLimits {
public:
    // The evolution count never exceeds the paths a seed has.
    static constexpr std::int64_t maxEvolutionCount = 20;

    // Why size holds more points than a window may, or nothing.
    static std::optional<std::string> windowPointsRefusal(const ExplorationSize& size);
    static std::optional<std::string> evolutionsRefusal(double count, ExplorationSize current);
    static std::optional<std::string> integrationStepRefusal(double step, ExplorationSize current);
    // Why paths of duration at step cannot be computed for current's seeds and evolutions.
    static std::optional<std::string> integrationRefusal(double step, double duration,
                                                         ExplorationSize current);
    // Why the transient cannot be hidden from paths of duration.
    static std::optional<std::string> transientRefusal(double transient, double duration);
    // Why paths of duration cannot keep the transient in force: they would be hidden whole.
    static std::optional<std::string> durationRefusalForTransient(double duration,
                                                                  double transient);
};

} // namespace kinora
