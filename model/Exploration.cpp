#include "Exploration.h"

#include "ExplorationListener.h"
#include "KNFanWorkerTools.h"
#include "KNJavascriptEngine.h"
#include "PathDuration.h"
#include "PathTransient.h"
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
      duration(defaultPathDuration) {
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
    exploration->script = source;
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
    // After the duration, which it must stay below.
    if (declaration.transient) {
        changeTransient(*declaration.transient);
    }
    for (const Vector3& position :
         declaration.seeds.value_or(std::vector<Vector3>{{1.0, 1.0, 1.0}})) {
        seeds.push_back({nextSeedID++, position, {}});
    }
    startingFansHeld = true;
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
    focus.seedWasRemoved(index);
    dropFansOf(id);
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
    if (std::optional<std::string> refusal =
            ExplorationLimits::integrationRefusal(step, pathDuration, size())) {
        return refusal;
    }
    return ExplorationLimits::durationRefusalForTransient(pathDuration, transientTime);
}

std::optional<std::string> Exploration::transientRefusal(double transient) const {
    return ExplorationLimits::transientRefusal(transient, duration);
}

std::int32_t Exploration::hiddenVertexCount() const {
    const double step = integratorOfSystem.integrationStep();
    return kinora::hiddenVertexCount(transientTime, step,
                                     trajectoryVertexCount(duration, step).value_or(0));
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
        focus.keepEvolutionsBelow(evolutions);
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

std::optional<std::string> Exploration::changeTransient(double transient) {
    std::optional<std::string> refusal = transientRefusal(transient);
    if (!refusal) {
        transientTime = transient;
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
    dropAllFans();
    for (std::size_t i = 0; i < seeds.size(); ++i) {
        submitFan(i, false);
    }
    beginRecomputation();
}

void Exploration::queueSeedFirst(std::uint64_t id) {
    // A seed moved while others are still computing joins that recomputation and its report.
    if (!recomputing) {
        beginRecomputation();
    }
    // A seed being dragged goes first: its fan is what the user looks at.
    queueFan(id, true);
}

void Exploration::beginRecomputation() {
    recomputing = true;
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

ParallelFans& Exploration::computation() {
    if (!fans) {
        fans = std::make_unique<ParallelFans>(
            fanWorkerTools(kinoraSystem->evolution, kinoraSystem->parameterCount(), script),
            ParallelFans::coreCount());
    }
    return *fans;
}

void Exploration::queueHeldFans() {
    if (!std::exchange(startingFansHeld, false)) {
        return;
    }
    for (std::size_t i = 0; i < seeds.size(); ++i) {
        submitFan(i, false);
    }
}

void Exploration::queueFan(std::uint64_t id, bool first) {
    queueHeldFans();
    dropFansOf(id);
    submitFan(*indexOf(id), first);
}

void Exploration::submitFan(std::size_t index, bool first) {
    const std::int32_t vertexCount =
        trajectoryVertexCount(duration, integratorOfSystem.integrationStep()).value_or(0);
    FanJob job{seeds[index].position,
               fanEvolutions(),
               vertexCount,
               kinoraSystem->parameters,
               integratorOfSystem.integrationStep(),
               hiddenVertexCount()};
    const std::int32_t paths = job.evolutions;
    queuedPaths += paths;
    queuedFans.emplace(computation().submit(std::move(job), first),
                       QueuedFan{seeds[index].id, paths});
}

void Exploration::dropFansOf(std::uint64_t id) {
    for (auto queued = queuedFans.begin(); queued != queuedFans.end();) {
        if (queued->second.seedID == id) {
            computation().drop(queued->first);
            queuedPaths -= queued->second.evolutions;
            shownPaths -= queued->second.shown;
            queued = queuedFans.erase(queued);
        } else {
            ++queued;
        }
    }
}

void Exploration::dropAllFans() {
    if (fans) {
        fans->dropAll();
    }
    queuedFans.clear();
    startingFansHeld = false;
    queuedPaths = 0;
    shownPaths = 0;
    deferred = false;
}

void Exploration::showPaths(std::uint64_t ticket, const SeedFan& fan, std::int32_t from,
                            std::int32_t to) {
    const auto queued = queuedFans.find(ticket);
    const std::optional<std::size_t> index = indexOf(queued->second.seedID);
    BoundingBox& bounds = seeds[*index].pathBounds;
    if (!std::exchange(queued->second.begun, true)) {
        bounds = BoundingBox();
        if (listener) {
            listener->explorationDidStartFan(*index, fan.evolutionCount());
        }
    }
    for (std::int32_t m = from; m < to; ++m) {
        const FanPath& path = fan.path(m);
        // Every fan in flight was queued with the transient in force, which its workers bounded
        // the path with: changing the transient requeues them all.
        bounds.add(path.shownBounds);
        outcome.add(path.outcome);
        // The system holds the values of the evolution shown last, as if computed here.
        setParametersAtSweepFraction(*kinoraSystem, path.s);
        if (listener) {
            listener->explorationDidCompletePath(*index, m, fan);
        }
    }
    queued->second.shown += to - from;
    shownPaths += to - from;
}

void Exploration::deferFansNotBegun() {
    if (std::exchange(deferred, true) || !listener) {
        return;
    }
    for (const auto& [ticket, queued] : queuedFans) {
        if (!queued.begun) {
            listener->explorationDidDeferFan(*indexOf(queued.seedID));
        }
    }
}

bool Exploration::advance(Clock::time_point deadline) {
    queueHeldFans();
    Clock::duration showing{};
    const Clock::time_point begun = Clock::now();
    const bool done = computation().deliver(
        [&](std::uint64_t ticket, const SeedFan& fan, std::int32_t from, std::int32_t to,
            bool complete) {
            const Clock::time_point handing = Clock::now();
            showPaths(ticket, fan, from, to);
            if (complete) {
                queuedFans.erase(ticket);
            }
            showing += Clock::now() - handing;
            return Clock::now() < deadline;
        },
        deadline);
    if (listener) {
        listener->explorationDidIntegrate(Clock::now() - begun - showing);
    }
    if (!done) {
        deferFansNotBegun();
        // Counted in paths, so even a single slow seed shows its progress.
        if (listener) {
            listener->explorationDidPause(shownPaths, queuedPaths);
        }
        return false;
    }
    finishRecomputation();
    return true;
}

void Exploration::stopRecomputation() {
    if (listener && recomputing) {
        // Paths of the old settings would pass for results: only the final ones stay.
        for (const auto& [ticket, queued] : queuedFans) {
            const std::size_t index = *indexOf(queued.seedID);
            if (queued.begun) {
                listener->explorationDidStartFan(index, queued.shown);
            } else {
                listener->explorationDidDeferFan(index);
            }
        }
        listener->explorationDidStopRecomputation(shownPaths, queuedPaths);
    }
    dropAllFans();
    finishRecomputation();
}

void Exploration::completeRecomputation() {
    if (recomputing) {
        advance(Clock::time_point::max());
    }
}

void Exploration::finishRecomputation() {
    recomputing = false;
    dropAllFans();
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
