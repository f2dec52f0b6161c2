#include "ParallelFans.h"

#include <algorithm>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace kinora {

namespace {
// Paths finished ahead of the one being handed over take memory (48 bytes a point) until they
// are: workers start no fan beyond this many points of fans ahead of it, unless a worker would
// otherwise idle.
constexpr std::int64_t lookaheadPoints = 4'000'000;
// Workers run below the window's thread, the renderer's threads and the display server: with
// every core computing, those would otherwise wait for a core, and a key typed during a long
// recomputation would show late. The workers still take every core left idle.
constexpr int workerNiceness = 10;

void boundShownPoints(FanPath& path, std::int32_t hiddenVertices) {
    path.shownBounds = BoundingBox();
    for (std::size_t i = static_cast<std::size_t>(std::max(hiddenVertices, 0));
         i < path.vertices.size(); ++i) {
        const PathVertex& vertex = path.vertices[i];
        path.shownBounds.add({vertex.position[0], vertex.position[1], vertex.position[2]});
    }
}
} // namespace

// A queued fan. The fields are the mutex's, but for the fan's paths from completed on, which
// the worker that claimed it writes.
struct ParallelFans::Slot {
    std::uint64_t ticket = 0;
    FanJob job;
    std::unique_ptr<SeedFan> fan;
    bool claimed = false;
    bool dropped = false;
    bool finished = false;
    std::int32_t completed = 0;
    std::int32_t handed = 0;
};

ParallelFans::ParallelFans(MakeTools makeTools, int threads) : makeTools(std::move(makeTools)) {
    const int count = std::max(threads, 1);
    workers.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        workers.emplace_back([this] { work(); });
    }
}

ParallelFans::~ParallelFans() {
    {
        const std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    workAvailable.notify_all();
    for (std::thread& worker : workers) {
        worker.join();
    }
}

int ParallelFans::coreCount() {
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

std::uint64_t ParallelFans::submit(FanJob job, bool first) {
    auto slot = std::make_shared<Slot>();
    slot->job = std::move(job);
    {
        const std::lock_guard<std::mutex> lock(mutex);
        slot->ticket = nextTicket++;
        if (first) {
            queue.push_front(slot);
        } else {
            queue.push_back(slot);
        }
    }
    workAvailable.notify_one();
    return slot->ticket;
}

void ParallelFans::drop(std::uint64_t ticket) {
    const std::lock_guard<std::mutex> lock(mutex);
    const auto found = std::find_if(queue.begin(), queue.end(),
                                    [ticket](const auto& slot) { return slot->ticket == ticket; });
    if (found == queue.end()) {
        return;
    }
    Slot& slot = **found;
    slot.dropped = true;
    if (slot.finished) {
        spares.push_back(std::move(slot.fan));
    }
    queue.erase(found);
    // A fan further back may now be within the lookahead.
    workAvailable.notify_all();
}

void ParallelFans::dropAll() {
    const std::lock_guard<std::mutex> lock(mutex);
    for (const std::shared_ptr<Slot>& slot : queue) {
        slot->dropped = true;
        if (slot->finished) {
            spares.push_back(std::move(slot->fan));
        }
    }
    queue.clear();
}

bool ParallelFans::isBusy() const {
    const std::lock_guard<std::mutex> lock(mutex);
    return !queue.empty();
}

bool ParallelFans::waitUntilIdle(Clock::time_point deadline) {
    std::unique_lock<std::mutex> lock(mutex);
    return leftFan.wait_until(lock, deadline, [this] { return workersAtFans == 0; });
}

bool ParallelFans::deliver(const Take& take, Clock::time_point deadline) {
    std::unique_lock<std::mutex> lock(mutex);
    while (!queue.empty()) {
        const std::shared_ptr<Slot> slot = queue.front();
        if (slot->completed == slot->handed && !slot->finished) {
            if (Clock::now() >= deadline) {
                return false;
            }
            progress.wait_until(lock, deadline);
            continue;
        }
        const std::int32_t from = slot->handed;
        const std::int64_t pathPoints = std::max<std::int64_t>(slot->job.vertexCount, 1);
        const auto paths =
            static_cast<std::int32_t>(std::max<std::int64_t>(pointsPerHandOver / pathPoints, 1));
        const std::int32_t to = std::min(slot->completed, from + paths);
        const bool complete = slot->finished && to == slot->completed;
        slot->handed = to;
        if (complete) {
            queue.pop_front();
            workAvailable.notify_all();
        }
        lock.unlock();
        const bool goOn = take(slot->ticket, *slot->fan, from, to, complete);
        lock.lock();
        if (complete) {
            spares.push_back(std::move(slot->fan));
        }
        if (!goOn) {
            break;
        }
    }
    return queue.empty();
}

std::shared_ptr<ParallelFans::Slot> ParallelFans::claimable() {
    std::int64_t pointsAhead = 0;
    std::size_t position = 0;
    for (const std::shared_ptr<Slot>& slot : queue) {
        if (!slot->claimed) {
            return slot;
        }
        pointsAhead += static_cast<std::int64_t>(slot->job.evolutions) * slot->job.vertexCount;
        ++position;
        if (pointsAhead > lookaheadPoints && position >= workers.size()) {
            return nullptr;
        }
    }
    return nullptr;
}

std::unique_ptr<SeedFan> ParallelFans::spareFan() {
    if (spares.empty()) {
        return std::make_unique<SeedFan>();
    }
    std::unique_ptr<SeedFan> fan = std::move(spares.back());
    spares.pop_back();
    return fan;
}

void ParallelFans::work() {
    // Linux sets the niceness of the calling thread alone; where that is refused the worker
    // runs at the window's priority, as it would elsewhere.
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), workerNiceness);
    // Made on this thread and left on it: a script engine must not run on two threads at once.
    std::unique_ptr<FanWorkerTools> tools;
    // Kept from fan to fan, as every fan steps the same system: a fan of a few thousand steps is
    // then one piece instead of a climb from a single step.
    StepBudget budget;
    std::unique_lock<std::mutex> lock(mutex);
    while (true) {
        std::shared_ptr<Slot> slot;
        workAvailable.wait(lock, [&] { return stopping || (slot = claimable()) != nullptr; });
        if (stopping) {
            return;
        }
        slot->claimed = true;
        slot->fan = spareFan();
        ++workersAtFans;
        lock.unlock();
        if (!tools) {
            tools = std::make_unique<FanWorkerTools>(makeTools());
        }
        compute(*slot, *tools, budget);
        lock.lock();
        if (slot->dropped && slot->fan) {
            spares.push_back(std::move(slot->fan));
        }
        --workersAtFans;
        leftFan.notify_all();
    }
}

void ParallelFans::compute(Slot& slot, FanWorkerTools& tools, StepBudget& budget) {
    KinoraSystem& system = *tools.system;
    system.parameters = slot.job.parameters;
    tools.integrator->setIntegrationStep(slot.job.step);
    SeedFan& fan = *slot.fan;
    fan.start(slot.job.seed, slot.job.evolutions, slot.job.vertexCount);
    // Pieces of a few milliseconds, so a dropped fan stops soon.
    bool done = false;
    std::int32_t bounded = 0;
    while (!done) {
        const Clock::time_point start = Clock::now();
        done = fan.advance(system, *tools.driver, budget.steps());
        for (; bounded < fan.completedCount(); ++bounded) {
            boundShownPoints(fan.path(bounded), slot.job.hiddenVertices);
        }
        budget.adapt(Clock::now() - start);
        bool changed = false;
        {
            const std::lock_guard<std::mutex> lock(mutex);
            if (slot.dropped || stopping) {
                return;
            }
            // The window's thread waits for the front fan alone; waking it for others would
            // take a core from the workers for nothing.
            changed =
                (done || fan.completedCount() != slot.completed) && queue.front().get() == &slot;
            slot.completed = fan.completedCount();
            slot.finished = done;
        }
        if (changed) {
            progress.notify_all();
        }
    }
}

} // namespace kinora
