#include "FindingsComputation.h"

#include "SeedFan.h"

#include <utility>

namespace kinora {

FindingsComputation::FindingsComputation(ParallelFans::MakeTools makeTools,
                                         JacobianFunction jacobian, std::function<void()> ready)
    : makeTools(std::move(makeTools)), jacobian(jacobian), ready(std::move(ready)),
      worker([this] { work(); }) {}

FindingsComputation::~FindingsComputation() {
    {
        const std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    worker.join();
}

ExplorationFindings FindingsComputation::complete(ParallelFans::MakeTools makeTools,
                                                  JacobianFunction jacobian,
                                                  KNTrajectorySnapshot snapshot) {
    std::mutex readyMutex;
    std::condition_variable readyChanged;
    bool ready = false;
    FindingsComputation computation(std::move(makeTools), jacobian, [&] {
        const std::lock_guard<std::mutex> lock(readyMutex);
        ready = true;
        readyChanged.notify_all();
    });
    computation.request(std::move(snapshot));
    // The equilibria come alone first; the exponents (or an error) complete them.
    while (true) {
        {
            std::unique_lock<std::mutex> lock(readyMutex);
            readyChanged.wait(lock, [&] { return ready; });
            ready = false;
        }
        std::optional<ExplorationFindings> found = computation.take();
        if (found && found->exponentsComplete) {
            return std::move(*found);
        }
    }
}

std::uint64_t FindingsComputation::request(KNTrajectorySnapshot snapshot) {
    // The window's engine stays on the window's thread; the worker has its own.
    snapshot.engine.reset();
    std::uint64_t generation = 0;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        generation = current + 1;
        current = generation;
        pending = std::move(snapshot);
        result.reset();
    }
    wake.notify_all();
    return generation;
}

void FindingsComputation::cancel() {
    const std::lock_guard<std::mutex> lock(mutex);
    current = current + 1;
    pending.reset();
    result.reset();
}

std::optional<ExplorationFindings> FindingsComputation::take() {
    const std::lock_guard<std::mutex> lock(mutex);
    return std::exchange(result, std::nullopt);
}

bool FindingsComputation::isDropped(std::uint64_t generation) const {
    return stopping || current != generation;
}

void FindingsComputation::publish(ExplorationFindings findings) {
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (isDropped(findings.generation)) {
            return;
        }
        result = std::move(findings);
    }
    if (ready) {
        ready();
    }
}

void FindingsComputation::work() {
    FanWorkerTools tools = makeTools();
    std::unique_lock<std::mutex> lock(mutex);
    while (true) {
        wake.wait(lock, [this] { return stopping || pending; });
        if (stopping) {
            return;
        }
        const KNTrajectorySnapshot snapshot = std::move(*pending);
        pending.reset();
        const std::uint64_t generation = current;
        lock.unlock();
        compute(snapshot, generation, tools);
        lock.lock();
    }
}

void FindingsComputation::compute(const KNTrajectorySnapshot& snapshot, std::uint64_t generation,
                                  FanWorkerTools& tools) {
    FindingsAnalyst analyst(snapshot, *tools.system, *tools.driver, jacobian);
    ExplorationFindings findings;
    findings.generation = generation;
    const auto failed = [&](std::string error) {
        findings.error = std::move(error);
        findings.exponentsComplete = true;
        publish(std::move(findings));
    };
    if (std::string error = analyst.begin(); !error.empty()) {
        return failed(std::move(error));
    }
    const std::int32_t evolutions = analyst.evolutions();
    for (std::int32_t m = 0; m < evolutions; ++m) {
        if (isDropped(generation)) {
            return;
        }
        if (std::string error = analyst.beginEvolution(m); !error.empty()) {
            return failed(std::move(error));
        }
        EvolutionFindings evolution;
        evolution.evolution = m;
        evolution.s = sweepFraction(m, evolutions);
        if (std::string error = analyst.equilibria(&evolution.equilibria, &evolution.newtonStarts);
            !error.empty()) {
            return failed(std::move(error));
        }
        findings.evolutions.push_back(std::move(evolution));
    }
    publish(findings);
    const auto dropped = [&] { return isDropped(generation); };
    for (EvolutionFindings& evolution : findings.evolutions) {
        if (std::string error = analyst.beginEvolution(evolution.evolution); !error.empty()) {
            return failed(std::move(error));
        }
        for (const KNTrajectorySnapshot::SeedFanShape& seed : snapshot.seeds) {
            evolution.exponents.push_back(analyst.exponent(seed.position, dropped));
            if (dropped()) {
                return;
            }
        }
    }
    findings.exponentsComplete = true;
    publish(std::move(findings));
}

} // namespace kinora
