#pragma once

#include "BoundingBox.h"
#include "EvolutionFunction.h"
#include "EvolutionOutcome.h"
#include "ExplorationLimits.h"
#include "InitialDeclaration.h"
#include "KNError.h"
#include "KNSystemSource.h"
#include "KNTrajectorySnapshot.h"
#include "KinoraSystem.h"
#include "ParallelFans.h"
#include "PathDuration.h"
#include "PathFocus.h"
#include "RK4Integrator.h"
#include "Vector3.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class KNJavascriptEngine;

namespace kinora {

class ExplorationListener;

// What one window explores, apart from the window: the system (with its script engine for a
// script), every parameter's sweep, the seeds, evolutions, step, duration and axis mapping, the
// limits on them, and the fans of the seeds, recomputed in slices whenever something they
// depend on changes, on worker threads (ParallelFans), each fan handed to the listener as a
// whole in queue order. A refused change changes nothing and says why. One thread at a time
// uses it.
class Exploration {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::int64_t maxEvolutionCount = ExplorationLimits::maxEvolutionCount;

    // A system with one default parameter per name; the first three are mapped to x, y and z.
    Exploration(EvolutionFunction evolution, const std::vector<std::string>& names);
    // A system defined by a script; null, with the reason in error, when it does not load.
    static std::unique_ptr<Exploration> withScript(const std::string& source,
                                                   KNError* error = nullptr);
    ~Exploration();
    Exploration(const Exploration&) = delete;
    Exploration& operator=(const Exploration&) = delete;

    // Not owned; null for none. It must outlive the exploration or be replaced first.
    void setListener(ExplorationListener* listener) { this->listener = listener; }

    // Starts as declared (or with the defaults: one seed at (1, 1, 1)), with every seed waiting
    // for one recomputation that computes nothing until it is first advanced. The values must be
    // ones the exploration accepts, as a loaded script's declaration is.
    void start(const InitialDeclaration& declaration);
    // What the script declares, or nothing for a built-in system.
    InitialDeclaration ownDeclaration() const;

    KinoraSystem& system() { return *kinoraSystem; }
    const KinoraSystem& system() const { return *kinoraSystem; }
    const Integrator& integrator() const { return integratorOfSystem; }
    double pathDuration() const { return duration; }
    // The time hidden at the start of every path, so an attractor shows without the approach
    // from the seed: 0 (nothing hidden) up to, not including, the duration. The paths are
    // computed whole; only what they show and frame leaves the hidden points out.
    double transient() const { return transientTime; }
    // The points each path hides now: those less than the transient after its seed.
    std::int32_t hiddenVertexCount() const;
    std::int64_t evolutionCount() const { return evolutions; }
    const std::array<std::int32_t, 3>& axisToParameterMapping() const { return axisMapping; }
    // No recomputation: the mapping only says which parameters the handles move.
    void setAxisToParameterMapping(const std::array<std::int32_t, 3>& mapping) {
        axisMapping = mapping;
    }
    bool hasScriptEngine() const { return engine != nullptr; }
    // The script's text, from which a thread makes an engine of its own; nothing for a built-in
    // system.
    const std::optional<std::string>& scriptText() const { return script; }
    // Where the system came from; one made from a bare evolution function has none.
    const std::optional<KNSystemSource>& systemSource() const { return source; }
    void setSystemSource(KNSystemSource systemSource) { source = std::move(systemSource); }
    // Whether a change of the sweep, step, duration or evolutions has recomputed every seed.
    bool hasRecomputedAllSeeds() const { return recomputedAll; }

    std::size_t seedCount() const { return seeds.size(); }
    Vector3 seedPosition(std::size_t index) const { return seeds[index].position; }
    // Why one more seed would be more points than a window holds, or nothing.
    std::optional<std::string> addSeedRefusal() const;
    // A seed at position, last in the list; its fan is computed first.
    void addSeed(Vector3 position);
    // Its fan is computed again, before those of the other seeds still queued.
    void moveSeed(std::size_t index, Vector3 position);
    void removeSeed(std::size_t index);

    std::optional<std::string> evolutionsRefusal(double count) const;
    std::optional<std::string> integrationStepRefusal(double step) const;
    std::optional<std::string> pathDurationRefusal(double duration) const;
    // Also refuses a duration the transient would hide whole.
    std::optional<std::string> integrationRefusal(double step, double duration) const;
    std::optional<std::string> transientRefusal(double transient) const;
    std::optional<std::string> windowPointsRefusal(std::int64_t seeds, std::int64_t evolutions,
                                                   double step, double duration) const;
    // Each takes the value (and recomputes every seed) or returns why not.
    std::optional<std::string> changeEvolutions(double count);
    std::optional<std::string> changeIntegrationStep(double step);
    std::optional<std::string> changePathDuration(double duration);
    // Step and duration together, so a pair that is only usable as a pair can be set.
    std::optional<std::string> changeIntegration(double step, double duration);
    // Every seed is recomputed, so what the paths show and frame follows.
    std::optional<std::string> changeTransient(double transient);
    // Stored unchanged, then every seed is recomputed; false (nothing changed) for an index
    // that names no parameter.
    bool changeParameterStart(int index, double value);
    bool changeParameterEnd(int index, double value);
    bool changeParameterSweep(int index, double start, double end);
    // Every mapped parameter takes the start and end on its axis, visited x, y, z; then every
    // seed is recomputed.
    void changeMappedParameters(const std::array<double, 3>& starts,
                                const std::array<double, 3>& ends);

    // Every seed's fan again, as after a change of the sweep (for a listener that derives more
    // from the paths than it did).
    void recomputeAllSeeds();

    // Sets the workers on the fans start held back, ahead of the first advance, so they compute
    // while a window opens.
    void startWorkers() { queueHeldFans(); }
    // Whether queued work is left; advance does it.
    bool isRecomputing() const { return recomputing; }
    // Works until deadline, checking it between small pieces; true once every seed is done.
    bool advance(Clock::time_point deadline);
    // Drops the rest of the work, keeping the paths computed so far; the listener hears how many
    // that is and blanks the paths not yet computed.
    void stopRecomputation();
    // Does the rest of the work at once.
    void completeRecomputation();
    // What the paths of the latest recomputation ran into, all its seeds together.
    const RecomputationOutcome& lastOutcome() const { return outcome; }

    // What every trajectory is computed from, as it stands now.
    KNTrajectorySnapshot trajectorySnapshot() const;
    // Every seed and every finite point its paths computed so far show (none of the transient).
    BoundingBox plotBounds() const;
    // Where the time cursor stands, as a part of the duration: paths show from their seed up to
    // it, and at 1 (the end, where a window starts) they show whole.
    double timeFraction() const { return cursorFraction; }
    // Clamped to 0 ... 1; a value that is not a number changes nothing.
    void setTimeFraction(double fraction);
    // The vertices of a path up to the cursor: vertex i lies (i + 1) steps after the seed.
    std::int32_t verticesUpToCursor() const;

    // The path hovered and the one soloed; they follow removed seeds and fewer evolutions.
    PathFocus& pathFocus() { return focus; }
    const PathFocus& pathFocus() const { return focus; }

    // Every finite point of the paths of the seed at index computed so far.
    const BoundingBox& pathBounds(std::size_t index) const { return seeds[index].pathBounds; }

private:
    struct SeedState {
        std::uint64_t id;
        Vector3 position;
        BoundingBox pathBounds;
    };

    std::optional<std::size_t> indexOf(std::uint64_t id) const;
    ExplorationSize size() const;
    // The evolutions every fan has now.
    std::int32_t fanEvolutions() const;
    // Queues the fans start held back, if it still holds them, every seed in order.
    void queueHeldFans();
    // Queues the seed first, joining a recomputation still at work.
    void queueSeedFirst(std::uint64_t id);
    void beginRecomputation();
    // The workers, started on first use.
    ParallelFans& computation();
    // Queues the fan of the seed (first: before the others), dropping one queued for it.
    void queueFan(std::uint64_t id, bool first);
    void dropFansOf(std::uint64_t id);
    void dropAllFans();
    // Hands paths from ... to - 1 of the seed's fan to the listener.
    void showPaths(std::uint64_t ticket, const SeedFan& fan, std::int32_t from, std::int32_t to);
    // The first time a recomputation pauses: the fans not begun are deferred.
    void deferFansNotBegun();
    void finishRecomputation();

    RK4Integrator integratorOfSystem;
    std::unique_ptr<KinoraSystem> kinoraSystem;
    std::shared_ptr<KNJavascriptEngine> engine;
    // The script's text, from which every worker makes an engine of its own.
    std::optional<std::string> script;
    std::optional<KNSystemSource> source;
    double duration;
    double transientTime = 0.0;
    double cursorFraction = 1.0;
    PathFocus focus;
    std::int64_t evolutions = defaultEvolutions;
    std::array<std::int32_t, 3> axisMapping{-1, -1, -1};
    bool recomputedAll = false;

    std::vector<SeedState> seeds;
    std::uint64_t nextSeedID = 0;
    ExplorationListener* listener = nullptr;

    // The fans queued on the workers with their seeds, how many paths were queued and shown,
    // and whether the fans not begun were deferred.
    struct QueuedFan {
        std::uint64_t seedID;
        std::int32_t evolutions;
        std::int32_t shown = 0;
        bool begun = false;
    };
    bool recomputing = false;
    // The fans of start's seeds, not yet queued: the workers (and a script's engine for each)
    // start once the recomputation is advanced or changed, never for an exploration that is
    // only read, as a data export's is.
    bool startingFansHeld = false;
    std::unordered_map<std::uint64_t, QueuedFan> queuedFans;
    std::int64_t queuedPaths = 0;
    std::int64_t shownPaths = 0;
    bool deferred = false;
    RecomputationOutcome outcome;
    // Declared last, so its workers stop before anything they were given goes.
    std::unique_ptr<ParallelFans> fans;
};

} // namespace kinora
