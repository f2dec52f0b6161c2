#pragma once

#include "Integrator.h"
#include "KinoraSystem.h"
#include "Parameter.h"
#include "PathDriver.h"
#include "SeedFan.h"
#include "StepBudget.h"
#include "Vector3.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace kinora {

// One fan to compute, with everything its paths depend on.
struct FanJob {
    Vector3 seed;
    std::int32_t evolutions = 0;
    std::int32_t vertexCount = 0;
    std::vector<Parameter> parameters;
    double step = 0.0;
    // The vertices at the start of every path that the window hides (a transient): each path's
    // shownBounds leave them out.
    std::int32_t hiddenVertices = 0;
};

// What one worker computes with, used by that worker alone: a system with its own integrator
// (each job sets the parameters and the step) and a driver for it.
struct FanWorkerTools {
    // Whatever the driver needs kept alive (a script engine); declared first, so it goes last.
    std::shared_ptr<void> owner;
    std::unique_ptr<Integrator> integrator;
    std::unique_ptr<KinoraSystem> system;
    std::unique_ptr<PathDriver> driver;
};

// Computes fans on worker threads, one fan per worker at a time, and hands their paths over in
// the order the fans were queued, whatever thread finished first, a few at a time (see
// pointsPerHandOver), with their shown bounds found on the worker. A fan is computed by one
// thread from start to end with that worker's own tools, so its bits are those of computing it
// alone, on any number of threads. Queueing, dropping and taking paths are for one thread (the
// window's); the workers touch nothing else.
class ParallelFans {
public:
    using MakeTools = std::function<FanWorkerTools()>;
    using Clock = std::chrono::steady_clock;
    // Receives paths from ... to - 1 of the fan queued with ticket; complete once they are its
    // last. Only the paths, indices() and the counts of fan may be read, during the call only.
    // Returning false stops the handing over.
    using Take = std::function<bool(std::uint64_t ticket, const SeedFan& fan, std::int32_t from,
                                    std::int32_t to, bool complete)>;

    // threads workers (at least one); each calls makeTools on its own thread before its first
    // fan and keeps what it made.
    ParallelFans(MakeTools makeTools, int threads);
    // Fans being computed stop at their next piece of work.
    ~ParallelFans();
    ParallelFans(const ParallelFans&) = delete;
    ParallelFans& operator=(const ParallelFans&) = delete;

    // Queues a fan behind the others, or with first before every one not yet handed over; the
    // ticket names it to drop and to Take.
    std::uint64_t submit(FanJob job, bool first = false);
    // None of the fan's paths are handed over any more; a worker at it stops at its next piece.
    void drop(std::uint64_t ticket);
    void dropAll();
    // Hands over every path finished since it was last handed, fan by fan in queue order, and
    // waits for more until deadline. True once every queued fan has been handed over complete.
    bool deliver(const Take& take, Clock::time_point deadline);
    // Whether fans are queued that have not been handed over complete.
    bool isBusy() const;
    // Waits until no worker is at a fan (a dropped one stops at its next piece) or the deadline
    // has passed; true when none is.
    bool waitUntilIdle(Clock::time_point deadline);

    // One worker per core.
    static int coreCount();
    // The points one call of Take receives at most, unless a single path has more: what the
    // window's thread does with them (uploads) stays a short piece of work, with the deadline
    // checked in between, however long the paths.
    static constexpr std::int64_t pointsPerHandOver = 50'000;

private:
    struct Slot;
    void work();
    // The first fan a worker may start: not yet claimed and near enough to the front that the
    // finished but not yet handed paths stay within a bound. Null when there is none.
    std::shared_ptr<Slot> claimable();
    void compute(Slot& slot, FanWorkerTools& tools, StepBudget& budget);
    std::unique_ptr<SeedFan> spareFan();

    const MakeTools makeTools;
    mutable std::mutex mutex;
    // Workers wait here for fans, the window's thread for finished paths.
    std::condition_variable workAvailable;
    std::condition_variable progress;
    // Signalled whenever a worker leaves a fan.
    std::condition_variable leftFan;
    int workersAtFans = 0;
    std::deque<std::shared_ptr<Slot>> queue;
    std::vector<std::unique_ptr<SeedFan>> spares;
    std::uint64_t nextTicket = 1;
    bool stopping = false;
    std::vector<std::thread> workers;
};

} // namespace kinora
