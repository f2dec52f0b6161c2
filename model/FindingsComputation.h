#pragma once

#include "FindingsAnalyst.h"
#include "KNTrajectorySnapshot.h"
#include "ParallelFans.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kinora {

// The findings about every evolution of a window's sweep, for one state of its seeds and
// parameters.
struct ExplorationFindings {
    // The request they answer.
    std::uint64_t generation = 0;
    std::vector<EvolutionFindings> evolutions;
    // Whether the exponents are in: the equilibria come first, as they take a moment only.
    bool exponentsComplete = false;
    // An error of the system's that stopped the analysis (a script's), or empty.
    std::string error;
};

// Computes a window's findings on a thread of its own, with tools made there (a script gets an
// engine of its own), so the window keeps answering while the exponents of long paths take
// seconds. Only the latest request counts: a new one drops the one at work, which stops at its
// next check, and nothing of a dropped request is ever handed over. Requests and take are for
// one thread (the window's).
class FindingsComputation {
public:
    // ready runs on the computing thread whenever take has something new; jacobian is the
    // system's written-out Jacobian, or null for central differences.
    FindingsComputation(ParallelFans::MakeTools makeTools, JacobianFunction jacobian,
                        std::function<void()> ready);
    // Stops the request at work and waits for the thread.
    ~FindingsComputation();
    FindingsComputation(const FindingsComputation&) = delete;
    FindingsComputation& operator=(const FindingsComputation&) = delete;

    // The whole findings for snapshot, waiting for them, for a caller with nothing else to do (the
    // command line): the very ones a window computes for the same snapshot.
    static ExplorationFindings complete(ParallelFans::MakeTools makeTools,
                                        JacobianFunction jacobian, KNTrajectorySnapshot snapshot);

    // Starts on the findings for snapshot, dropping any earlier request; their generation.
    std::uint64_t request(KNTrajectorySnapshot snapshot);
    // Drops the request at work: its findings never come.
    void cancel();
    // The latest request's findings found since the last take (the equilibria alone, then
    // everything), or nothing.
    std::optional<ExplorationFindings> take();

private:
    void work();
    // The findings for snapshot, handing the equilibria over first; nothing once dropped.
    void compute(const KNTrajectorySnapshot& snapshot, std::uint64_t generation,
                 FanWorkerTools& tools);
    // Hands findings over unless their request was dropped meanwhile.
    void publish(ExplorationFindings findings);
    bool isDropped(std::uint64_t generation) const;

    const ParallelFans::MakeTools makeTools;
    const JacobianFunction jacobian;
    const std::function<void()> ready;
    mutable std::mutex mutex;
    std::condition_variable wake;
    std::optional<KNTrajectorySnapshot> pending;
    std::optional<ExplorationFindings> result;
    // The generation of the request that counts; the worker compares it at every check.
    std::atomic<std::uint64_t> current{0};
    std::atomic<bool> stopping{false};
    // Declared last, so it starts once everything above is there.
    std::thread worker;
};

} // namespace kinora
