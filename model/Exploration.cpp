#include "Exploration.h"

#include "ExplorationListener.h"
#include "KNJavascriptEngine.h"
#include "KNScriptPathDriver.h"
#include "PathDuration.h"
#include "SystemPathDriver.h"
#include "Trajectory.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <utility>

namespace kinora {

static_assert(InitialDeclaration::maxEvolutions == Exploration::maxEvolutionCount,
              "a declaration may ask for as many evolutions as an exploration allows");

Exploration::Exploration(EvolutionFunction evolution, const std::vector<std::string>& names)
    : integratorOfSystem(defaultIntegrationStep),
      kinoraSystem(std::make_unique<KinoraSystem>(evolution, &integratorOfSystem,
                                                  static_cast<int>(names.size()))),
      driver(std::make_unique<SystemPathDriver>()), duration(defaultPathDuration) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        kinoraSystem->parameter(static_cast<int>(i)).name = names[i];
        if (i < axisMapping.size()) {
            axisMapping[i] = static_cast<std::int32_t>(i);
        }
    }
}

Exploration::~Exploration() = default;

std::unique_ptr<Exploration> Exploration::withScript(const std::string& source, KNError* error) {
    std::shared_ptr<KNJavascriptEngine> engine =
        KNJavascriptEngine::initWithSourceString(source, error);
    if (!engine) {
        return nullptr;
    }
    const std::optional<std::vector<std::string>> names = engine->parameterNamesOrError(error);
    if (!names) {
        return nullptr;
    }
    auto exploration = std::make_unique<Exploration>(KNJavascriptEngine::integrable(), *names);
    exploration->engine = std::move(engine);
    exploration->driver = std::make_unique<KNScriptPathDriver>(*exploration->engine);
    return exploration;
}

InitialDeclaration Exploration::ownDeclaration() const {
    return engine ? engine->initialDeclaration() : InitialDeclaration();
}

void Exploration::start(const InitialDeclaration& declaration) {
    // Settings first, while there is no seed whose paths they would recompute.
    for (const InitialDeclaration::Sweep& sweep : declaration.sweeps) {
        changeParameterSweep(sweep.parameter, sweep.start, sweep.end);
    }
    if (declaration.step || declaration.duration) {
        changeIntegration(declaration.step.value_or(integratorOfSystem.integrationStep()),
                          declaration.duration.value_or(duration));
    }
    if (declaration.evolutions) {
        changeEvolutions(*declaration.evolutions);
    }
    for (const Vector3& position :
         declaration.seeds.value_or(std::vector<Vector3>{{1.0, 1.0, 1.0}})) {
        seeds.push_back({nextSeedID, position, {}});
        pendingSeeds.push_back(nextSeedID++);
    }
    // One recomputation for every seed: queued, not yet begun, so nothing waits for it.
    if (!recomputing) {
        beginRecomputation();
    }
}

std::optional<std::size_t> Exploration::indexOf(std::uint64_t id) const {
    const auto found = std::find_if(seeds.begin(), seeds.end(),
                                    [id](const SeedState& seed) { return seed.id == id; });
    if (found == seeds.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - seeds.begin());
}

ExplorationSize Exploration::size() const {
    return {static_cast<std::int64_t>(seeds.size()), evolutions,
            integratorOfSystem.integrationStep(), duration};
}

std::optional<std::string> Exploration::addSeedRefusal() const {
    ExplorationSize larger = size();
    ++larger.seeds;
    return ExplorationLimits::windowPointsRefusal(larger);
}

void Exploration::addSeed(Vector3 position) {
    seeds.push_back({nextSeedID, position, {}});
    queueSeedFirst(nextSeedID++);
}

void Exploration::moveSeed(std::size_t index, Vector3 position) {
    assert(index < seeds.size() && "the seed is one of the exploration's");
    seeds[index].position = position;
    queueSeedFirst(seeds[index].id);
}

void Exploration::removeSeed(std::size_t index) {
    const std::uint64_t id = seeds[index].id;
    seeds.erase(seeds.begin() + static_cast<std::ptrdiff_t>(index));
    pendingSeeds.erase(std::remove(pendingSeeds.begin(), pendingSeeds.end(), id),
                       pendingSeeds.end());
    if (fanSeed == id) {
        fanSeed.reset();
    }
}

std::optional<std::string> Exploration::evolutionsRefusal(double count) const {
    return ExplorationLimits::evolutionsRefusal(count, size());
}

std::optional<std::string> Exploration::integrationStepRefusal(double step) const {
    return ExplorationLimits::integrationStepRefusal(step, size());
}

std::optional<std::string> Exploration::pathDurationRefusal(double pathDuration) const {
    return integrationRefusal(integratorOfSystem.integrationStep(), pathDuration);
}

std::optional<std::string> Exploration::integrationRefusal(double step, double pathDuration) const {
    return ExplorationLimits::integrationRefusal(step, pathDuration, size());
}

std::optional<std::string> Exploration::windowPointsRefusal(std::int64_t seedCount,
                                                            std::int64_t evolutionCount,
                                                            double step,
                                                            double pathDuration) const {
    return ExplorationLimits::windowPointsRefusal({seedCount, evolutionCount, step, pathDuration});
}

std::optional<std::string> Exploration::changeEvolutions(double count) {
    std::optional<std::string> refusal = evolutionsRefusal(count);
    if (!refusal) {
        evolutions = static_cast<std::int64_t>(count);
        recomputeAllSeeds();
    }
    return refusal;
}

std::optional<std::string> Exploration::changeIntegrationStep(double step) {
    std::optional<std::string> refusal = integrationStepRefusal(step);
    if (!refusal) {
        integratorOfSystem.setIntegrationStep(step);
        recomputeAllSeeds();
    }
    return refusal;
}

std::optional<std::string> Exploration::changePathDuration(double pathDuration) {
    return changeIntegration(integratorOfSystem.integrationStep(), pathDuration);
}

std::optional<std::string> Exploration::changeIntegration(double step, double pathDuration) {
    std::optional<std::string> refusal = integrationRefusal(step, pathDuration);
    if (!refusal) {
        integratorOfSystem.setIntegrationStep(step);
        duration = pathDuration;
        recomputeAllSeeds();
    }
    return refusal;
}

bool Exploration::changeParameterStart(int index, double value) {
    if (index < 0 || index >= kinoraSystem->parameterCount()) {
        return false;
    }
    kinoraSystem->parameter(index).setMin(value);
    recomputeAllSeeds();
    return true;
}

bool Exploration::changeParameterEnd(int index, double value) {
    if (index < 0 || index >= kinoraSystem->parameterCount()) {
        return false;
    }
    kinoraSystem->parameter(index).setMax(value);
    recomputeAllSeeds();
    return true;
}

bool Exploration::changeParameterSweep(int index, double start, double end) {
    if (index < 0 || index >= kinoraSystem->parameterCount()) {
        return false;
    }
    kinoraSystem->parameter(index).setMin(start);
    kinoraSystem->parameter(index).setMax(end);
    recomputeAllSeeds();
    return true;
}

void Exploration::changeMappedParameters(const std::array<double, 3>& starts,
                                         const std::array<double, 3>& ends) {
    for (std::size_t axis = 0; axis < axisMapping.size(); ++axis) {
        const std::int32_t index = axisMapping[axis];
        if (index < 0 || index >= kinoraSystem->parameterCount()) {
            continue;
        }
        kinoraSystem->parameter(index).setMin(starts[axis]);
        kinoraSystem->parameter(index).setMax(ends[axis]);
    }
    recomputeAllSeeds();
}

void Exploration::recomputeAllSeeds() {
    recomputedAll = true;
    pendingSeeds.clear();
    fanSeed.reset();
    for (const SeedState& seed : seeds) {
        pendingSeeds.push_back(seed.id);
    }
    beginRecomputation();
}

void Exploration::queueSeedFirst(std::uint64_t id) {
    // A seed moved while others are still computing joins that recomputation and its report.
    if (!recomputing) {
        beginRecomputation();
    }
    if (fanSeed == id) {
        fanSeed.reset();
    }
    if (std::find(pendingSeeds.begin(), pendingSeeds.end(), id) == pendingSeeds.end()) {
        // A seed being dragged goes first: its fan is what the user looks at.
        pendingSeeds.push_front(id);
    }
}

void Exploration::beginRecomputation() {
    recomputing = true;
    seedsDone = 0;
    outcome = RecomputationOutcome();
    if (listener) {
        listener->explorationDidBeginRecomputation();
    }
}

std::int32_t Exploration::fanEvolutions() const {
    return trajectoryVertexCount(duration, integratorOfSystem.integrationStep())
               ? static_cast<std::int32_t>(evolutions)
               : 0;
}

void Exploration::startFan(std::uint64_t id) {
    const std::size_t index = *indexOf(id);
    const std::int32_t vertexCount =
        trajectoryVertexCount(duration, integratorOfSystem.integrationStep()).value_or(0);
    fan.start(seeds[index].position, fanEvolutions(), vertexCount);
    fanSeed = id;
    reportedPaths = 0;
    seeds[index].pathBounds = BoundingBox();
    if (listener) {
        listener->explorationDidStartFan(index, fan.evolutionCount());
    }
}

void Exploration::showCompletedPaths() {
    const std::size_t index = *indexOf(*fanSeed);
    BoundingBox& bounds = seeds[index].pathBounds;
    for (; reportedPaths < fan.completedCount(); ++reportedPaths) {
        const FanPath& path = fan.path(reportedPaths);
        for (const PathVertex& vertex : path.vertices) {
            bounds.add({vertex.position[0], vertex.position[1], vertex.position[2]});
        }
        outcome.add(path.outcome);
        if (listener) {
            listener->explorationDidCompletePath(index, reportedPaths, fan);
        }
    }
}

bool Exploration::advance(Clock::time_point deadline) {
    const std::int64_t seedTotal =
        static_cast<std::int64_t>(pendingSeeds.size()) + (fanSeed ? 1 : 0) + seedsDone;
    while (fanSeed || !pendingSeeds.empty()) {
        if (!fanSeed) {
            const std::uint64_t id = pendingSeeds.front();
            pendingSeeds.pop_front();
            startFan(id);
            continue;
        }
        const Clock::time_point begun = Clock::now();
        const bool complete = fan.advance(*kinoraSystem, *driver, stepBudget.steps());
        const Clock::duration took = Clock::now() - begun;
        if (listener) {
            listener->explorationDidIntegrate(took);
        }
        stepBudget.adapt(took);
        showCompletedPaths();
        if (complete) {
            fanSeed.reset();
            ++seedsDone;
        }
        if (Clock::now() >= deadline && (fanSeed || !pendingSeeds.empty())) {
            // Counted in paths, so even a single slow seed shows its progress.
            const std::int64_t paths = fan.evolutionCount();
            if (listener) {
                listener->explorationDidPause(
                    seedsDone * paths + (fanSeed ? fan.completedCount() : 0), seedTotal * paths);
            }
            return false;
        }
    }
    finishRecomputation();
    return true;
}

void Exploration::stopRecomputation() {
    pendingSeeds.clear();
    fanSeed.reset();
    finishRecomputation();
}

void Exploration::completeRecomputation() {
    if (recomputing) {
        advance(Clock::time_point::max());
    }
}

void Exploration::finishRecomputation() {
    recomputing = false;
    seedsDone = 0;
    if (listener) {
        listener->explorationDidFinishRecomputation();
    }
}

KNTrajectorySnapshot Exploration::trajectorySnapshot() const {
    KNTrajectorySnapshot snapshot;
    snapshot.parameters = kinoraSystem->parameters;
    snapshot.evolution = kinoraSystem->evolution;
    snapshot.engine = engine;
    snapshot.step = integratorOfSystem.integrationStep();
    snapshot.vertexCount = trajectoryVertexCount(duration, snapshot.step).value_or(0);
    for (const SeedState& seed : seeds) {
        snapshot.seeds.push_back({seed.position, fanEvolutions()});
    }
    return snapshot;
}

BoundingBox Exploration::plotBounds() const {
    BoundingBox box;
    for (const SeedState& seed : seeds) {
        box.add(seed.position);
        box.add(seed.pathBounds);
    }
    return box;
}

void Exploration::setTimeFraction(double fraction) {
    if (!std::isnan(fraction)) {
        cursorFraction = std::clamp(fraction, 0.0, 1.0);
    }
}

std::int32_t Exploration::verticesUpToCursor() const {
    return verticesUpToFraction(
        cursorFraction,
        trajectoryVertexCount(duration, integratorOfSystem.integrationStep()).value_or(0));
}

} // namespace kinora
