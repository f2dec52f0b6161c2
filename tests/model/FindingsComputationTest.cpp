#include "FindingsComputation.h"

#include "KNDefinitions.h"
#include "KNFanWorkerTools.h"

#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>

namespace {

KNTrajectorySnapshot lorenzSnapshot(double rhoStart, double rhoEnd, double duration) {
    KNTrajectorySnapshot snapshot;
    snapshot.evolution = lorenz;
    snapshot.parameters = {kinora::Parameter("rho", rhoStart, rhoStart, rhoEnd),
                           kinora::Parameter("sigma", 10.0, 10.0, 10.0),
                           kinora::Parameter("beta", 8.0 / 3.0, 8.0 / 3.0, 8.0 / 3.0)};
    snapshot.step = 0.01;
    snapshot.vertexCount = static_cast<std::int32_t>(duration / snapshot.step);
    snapshot.seeds = {{{1.0, 1.0, 1.0}, 3}};
    return snapshot;
}

// A request made while another is at work replaces it: only the later one's findings come,
// complete, with the exponent the command line's method gives for chaotic Lorenz.
TEST(FindingsComputation, OnlyTheLatestRequestIsAnswered) {
    std::mutex mutex;
    std::condition_variable told;
    bool ready = false;
    kinora::FindingsComputation computation(fanWorkerTools(lorenz, 3, std::nullopt), lorenzJacobian,
                                            [&] {
                                                const std::lock_guard<std::mutex> lock(mutex);
                                                ready = true;
                                                told.notify_all();
                                            });
    computation.request(lorenzSnapshot(0.5, 0.5, 200.0));
    const std::uint64_t latest = computation.request(lorenzSnapshot(24.0, 28.0, 200.0));

    std::optional<kinora::ExplorationFindings> findings;
    while (!findings || !findings->exponentsComplete) {
        std::unique_lock<std::mutex> lock(mutex);
        ASSERT_TRUE(told.wait_for(lock, std::chrono::minutes(1), [&] { return ready; }));
        ready = false;
        lock.unlock();
        if (auto taken = computation.take()) {
            EXPECT_EQ(taken->generation, latest);
            findings = std::move(taken);
        }
    }
    ASSERT_EQ(findings->evolutions.size(), 3u);
    for (const kinora::EvolutionFindings& evolution : findings->evolutions) {
        EXPECT_EQ(evolution.equilibria.equilibria.size(), 3u);
        ASSERT_EQ(evolution.exponents.size(), 1u);
    }
    const auto& chaotic = findings->evolutions.back().exponents.front();
    ASSERT_TRUE(chaotic.exponent) << chaotic.problem;
    EXPECT_GT(*chaotic.exponent, 0.5);
}

} // namespace
