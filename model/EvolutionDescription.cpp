#include "EvolutionDescription.h"

#include "Exploration.h"
#include "FindingsComputation.h"
#include "NumberText.h"
#include "SeedFan.h"
#include "SeedNumber.h"

namespace kinora {

namespace {

constexpr int shownDigits = 6;

std::string exponentText(const ExplorationFindings& findings, EvolutionRef path) {
    for (const EvolutionFindings& evolution : findings.evolutions) {
        if (evolution.evolution != path.evolution || path.seed >= evolution.exponents.size()) {
            continue;
        }
        const LyapunovEstimate& estimate = evolution.exponents[path.seed];
        return estimate.exponent
                   ? ", largest exponent " + roundedNumberText(*estimate.exponent, shownDigits)
                   : ", no largest exponent (" + estimate.problem + ")";
    }
    return {};
}

} // namespace

std::string describeEvolution(const Exploration& exploration, EvolutionRef path,
                              const ExplorationFindings* findings) {
    const auto evolutions = static_cast<std::int32_t>(exploration.evolutionCount());
    const double s = sweepFraction(path.evolution, evolutions);
    std::string text = "Seed " + std::to_string(seedNumber(path.seed)) + ", evolution " +
                       std::to_string(path.evolution + 1) + " of " + std::to_string(evolutions) +
                       ", s = " + roundedNumberText(s, shownDigits);
    for (const Parameter& parameter : exploration.system().parameters) {
        if (parameter.min() != parameter.max()) {
            text += ", " + parameter.name + " = " +
                    roundedNumberText(parameter.valueAtFraction(s), shownDigits);
        }
    }
    if (findings != nullptr && findings->error.empty()) {
        text += exponentText(*findings, path);
    }
    return text;
}

} // namespace kinora
