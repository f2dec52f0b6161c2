#include "FindingsAnalyst.h"

#include "SeedFan.h"

#include <algorithm>

namespace kinora {

namespace {

std::string stoppedText() {
    return "the system's evolution function ran too long and was stopped.";
}

} // namespace

FindingsAnalyst::FindingsAnalyst(const KNTrajectorySnapshot& snapshot, KinoraSystem& system,
                                 PathDriver& driver, JacobianFunction jacobian)
    : snapshot(snapshot), system(system), driver(driver), jacobian(jacobian) {
    system.parameters = snapshot.parameters;
    system.integrator->setIntegrationStep(snapshot.step);
}

std::int32_t FindingsAnalyst::evolutions() const {
    return snapshot.seeds.empty() ? 0 : snapshot.seeds.front().evolutions;
}

std::string FindingsAnalyst::begin() {
    return driver.beginFan();
}

std::string FindingsAnalyst::beginEvolution(std::int32_t m) {
    setParametersAtSweepFraction(system, sweepFraction(m, evolutions()));
    return driver.beginEvolution(system);
}

std::string FindingsAnalyst::path(Vector3 seed, std::vector<double>* into) {
    into->assign(3 * static_cast<std::size_t>(snapshot.vertexCount), NAN);
    PathCursor cursor{seed, 0.0, 0};
    EvolutionOutcome outcome;
    driver.advance(system, cursor, snapshot.vertexCount, into->data(), outcome);
    return outcome.stopped ? stoppedText() : outcome.error;
}

std::string FindingsAnalyst::equilibria(EquilibriumSearchResult* found, int* starts) {
    std::vector<Vector3> from{Vector3()};
    for (const KNTrajectorySnapshot::SeedFanShape& seed : snapshot.seeds) {
        if (std::string error = path(seed.position, &states); !error.empty()) {
            return error;
        }
        from.push_back(seed.position);
        const std::int32_t stride = std::max(snapshot.vertexCount / startsPerPath, 1);
        for (std::int32_t i = stride - 1; i < snapshot.vertexCount; i += stride) {
            const double* s = states.data() + 3 * static_cast<std::size_t>(i);
            if (hasFiniteCoordinates({s[0], s[1], s[2]})) {
                from.emplace_back(s[0], s[1], s[2]);
            }
        }
    }
    *found = findEquilibria(system.evolution, jacobian, system.parameters, from);
    *starts = static_cast<int>(from.size());
    return {};
}

LyapunovEstimate FindingsAnalyst::exponent(Vector3 seed, const std::function<bool()>& cancelled) {
    return largestLyapunovExponent(system, driver, seed, snapshot.vertexCount,
                                   snapshot.vertexCount / 10, cancelled);
}

} // namespace kinora
