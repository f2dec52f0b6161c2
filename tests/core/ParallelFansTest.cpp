#include "ParallelFans.h"

#include "KNDefinitions.h"
#include "RK4Integrator.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

using Clock = kinora::ParallelFans::Clock;

kinora::FanWorkerTools lorenzTools() {
    kinora::FanWorkerTools tools;
    tools.integrator = std::make_unique<kinora::RK4Integrator>(0.01);
    tools.system = std::make_unique<KinoraSystem>(lorenz, tools.integrator.get(), 3);
    tools.driver = makePathDriver(lorenz);
    return tools;
}

kinora::FanJob job(int k, std::int32_t evolutions = 4) {
    std::vector<kinora::Parameter> parameters = {kinora::Parameter("rho", 0, 10, 28),
                                                 kinora::Parameter("sigma", 0, 10, 10),
                                                 kinora::Parameter("beta", 0, 8.0 / 3.0, 1)};
    return {{1.0 + 0.1 * k, 2.0, 3.0 - 0.05 * k}, evolutions, 500, parameters, 0.01};
}

// Every path's states, fan by fan in the order handed over.
struct Received {
    std::vector<std::uint64_t> tickets;
    std::vector<std::vector<std::vector<double>>> fans;
};

Received receiveAll(kinora::ParallelFans& fans) {
    Received received;
    std::vector<std::vector<double>> current;
    const bool done = fans.deliver(
        [&](std::uint64_t ticket, const kinora::SeedFan& fan, std::int32_t from, std::int32_t to,
            bool complete) {
            for (std::int32_t m = from; m < to; ++m) {
                current.push_back(fan.path(m).states);
            }
            if (complete) {
                received.tickets.push_back(ticket);
                received.fans.push_back(std::move(current));
                current.clear();
            }
            return true;
        },
        Clock::now() + std::chrono::minutes(2));
    EXPECT_TRUE(done);
    return received;
}

TEST(ParallelFans, HandsOverTheBitsOfOneThreadInQueueOrderOnAnyNumberOfThreads) {
    std::vector<Received> runs;
    for (int threads : {1, 2, 5}) {
        kinora::ParallelFans fans(lorenzTools, threads);
        std::vector<std::uint64_t> tickets;
        for (int k = 0; k < 12; ++k) {
            tickets.push_back(fans.submit(job(k)));
        }
        // Queued first, handed over first.
        tickets.insert(tickets.begin(), fans.submit(job(12), true));
        const Received received = receiveAll(fans);
        EXPECT_EQ(received.tickets, tickets) << threads;
        EXPECT_FALSE(fans.isBusy());
        runs.push_back(received);
    }
    kinora::FanWorkerTools alone = lorenzTools();
    kinora::SeedFan reference;
    alone.system->parameters = job(12).parameters;
    reference.compute(*alone.system, *alone.driver, job(12).seed, 4, 500);
    ASSERT_EQ(runs[0].fans[0].size(), 4u);
    for (std::int32_t m = 0; m < 4; ++m) {
        EXPECT_EQ(runs[0].fans[0][static_cast<std::size_t>(m)], reference.path(m).states) << m;
    }
    EXPECT_EQ(runs[1].fans, runs[0].fans);
    EXPECT_EQ(runs[2].fans, runs[0].fans);
}

// Steps one state per call and takes a millisecond over it, so fans are long and dropped ones
// are seen stopping.
class SlowDriver : public kinora::PathDriver {
public:
    explicit SlowDriver(std::atomic<int>& steps) : steps(steps) {}
    std::string beginFan() override { return {}; }
    std::string beginEvolution(const KinoraSystem&) override { return {}; }
    bool advance(const KinoraSystem&, kinora::PathCursor& cursor, std::int32_t count,
                 double* states, kinora::EvolutionOutcome&) override {
        for (std::int32_t k = 0; k < count; ++k) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            double* out = states + 3 * static_cast<std::size_t>(cursor.index++);
            out[0] = out[1] = out[2] = 0.0;
            ++steps;
        }
        return true;
    }

private:
    std::atomic<int>& steps;
};

TEST(ParallelFans, DroppedFansStopAndAreNeverHandedOver) {
    std::atomic<int> steps{0};
    kinora::ParallelFans fans(
        [&steps] {
            kinora::FanWorkerTools tools = lorenzTools();
            tools.driver = std::make_unique<SlowDriver>(steps);
            return tools;
        },
        2);
    // 4 x 500 steps of 0.2 ms each: far longer than the test waits for anything.
    const std::uint64_t slow = fans.submit(job(0));
    const std::uint64_t other = fans.submit(job(1));
    const std::uint64_t kept = fans.submit(job(2, 0));
    fans.drop(slow);
    fans.drop(other);
    const Received received = receiveAll(fans);
    EXPECT_EQ(received.tickets, std::vector<std::uint64_t>{kept});
    // The workers stop at their next piece, well short of the fans.
    ASSERT_TRUE(fans.waitUntilIdle(Clock::now() + std::chrono::minutes(2)));
    EXPECT_LT(steps.load(), 2 * 4 * 500);
    // A deadline in the past hands over what is there and returns at once.
    fans.submit(job(3));
    EXPECT_FALSE(
        fans.deliver([](auto, const auto&, auto, auto, auto) { return true; }, Clock::now()));
    fans.dropAll();
    EXPECT_FALSE(fans.isBusy());
}

// Takes 20 ms a step, longer than any piece of work should last, and records how many steps each
// piece asked for.
class SlowStepDriver : public kinora::PathDriver {
public:
    explicit SlowStepDriver(std::vector<std::int32_t>& asked) : asked(asked) {}
    std::string beginFan() override { return {}; }
    std::string beginEvolution(const KinoraSystem&) override { return {}; }
    bool advance(const KinoraSystem&, kinora::PathCursor& cursor, std::int32_t count,
                 double* states, kinora::EvolutionOutcome&) override {
        asked.push_back(count);
        for (std::int32_t k = 0; k < count; ++k) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            double* out = states + 3 * static_cast<std::size_t>(cursor.index++);
            out[0] = out[1] = out[2] = 0.0;
        }
        return true;
    }

private:
    std::vector<std::int32_t>& asked;
};

TEST(ParallelFans, AStepSlowerThanAPieceIsTakenOneAtATimeFromTheFirst) {
    std::vector<std::int32_t> asked;
    {
        kinora::ParallelFans fans(
            [&asked] {
                kinora::FanWorkerTools tools = lorenzTools();
                tools.driver = std::make_unique<SlowStepDriver>(asked);
                return tools;
            },
            1);
        kinora::FanJob slow = job(0, 1);
        slow.vertexCount = 12;
        fans.submit(std::move(slow));
        receiveAll(fans);
    }
    EXPECT_EQ(asked, std::vector<std::int32_t>(12, 1));
}

TEST(ParallelFans, HandsLongPathsOverAFewAtATimeBoundedOnTheWorker) {
    kinora::ParallelFans fans(lorenzTools, 1);
    kinora::FanJob longPaths = job(0, 5);
    // Two paths per hand-over; all but the last 1,000 points of each are hidden.
    longPaths.vertexCount = static_cast<std::int32_t>(kinora::ParallelFans::pointsPerHandOver / 2);
    longPaths.hiddenVertices = longPaths.vertexCount - 1000;
    fans.submit(longPaths);
    std::vector<std::pair<std::int32_t, std::int32_t>> pieces;
    bool completeEarly = false;
    const bool done = fans.deliver(
        [&](std::uint64_t, const kinora::SeedFan& fan, std::int32_t from, std::int32_t to,
            bool complete) {
            // Once the first piece is taken, the rest of the fan finishes before the next one.
            if (pieces.empty()) {
                EXPECT_TRUE(fans.waitUntilIdle(Clock::now() + std::chrono::minutes(2)));
            }
            pieces.emplace_back(from, to);
            completeEarly = completeEarly || (complete && to < 5);
            for (std::int32_t m = from; m < to; ++m) {
                const kinora::FanPath& path = fan.path(m);
                kinora::BoundingBox shown;
                for (std::size_t i = static_cast<std::size_t>(longPaths.hiddenVertices);
                     i < path.vertices.size(); ++i) {
                    shown.add({path.vertices[i].position[0], path.vertices[i].position[1],
                               path.vertices[i].position[2]});
                }
                for (int axis = 0; axis < 3; ++axis) {
                    EXPECT_EQ(path.shownBounds.lowest(axis), shown.lowest(axis)) << m;
                    EXPECT_EQ(path.shownBounds.highest(axis), shown.highest(axis)) << m;
                }
            }
            return true;
        },
        Clock::now() + std::chrono::minutes(2));
    EXPECT_TRUE(done);
    EXPECT_FALSE(completeEarly);
    ASSERT_GE(pieces.size(), 3u);
    std::int32_t next = 0;
    for (const auto& [from, to] : pieces) {
        EXPECT_EQ(from, next);
        EXPECT_TRUE(to - from == 1 || to - from == 2) << from << " " << to;
        next = to;
    }
    EXPECT_EQ(next, 5);
    // Three or more paths were waiting: the bound cut them.
    EXPECT_EQ(pieces[1].second - pieces[1].first, 2);
}

} // namespace
