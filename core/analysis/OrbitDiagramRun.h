#pragma once

#include "OrbitDiagram.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace kinora {

// Computes columns first ... end − 1 of an orbit diagram on worker threads of its own, in the
// background, so that a window can draw the columns as they come and stay responsive. Each
// worker takes the next column not yet taken, so a slow column holds up no other. Only for a
// system whose evolution function may run on several threads at once (a built-in one).
class OrbitDiagramRun {
public:
    using Clock = std::chrono::steady_clock;
    // Whether the workers yield the cores to the rest of the program (a window's own thread)
    // whenever it has something to do, or take their share like any thread.
    enum class Priority { normal, background };

    // Starts at once; the diagram must outlive the run.
    OrbitDiagramRun(const OrbitDiagram& diagram, std::int32_t first, std::int32_t end, int threads,
                    Priority priority = Priority::normal);
    // Cancels and waits for the columns being computed.
    ~OrbitDiagramRun();
    OrbitDiagramRun(const OrbitDiagramRun&) = delete;
    OrbitDiagramRun& operator=(const OrbitDiagramRun&) = delete;

    // No further column is begun; those under way finish.
    void cancel();
    std::int32_t columnCount() const { return end - first; }
    std::int32_t completedCount() const;
    // Waits until every column is done or the deadline has passed; true once all are done.
    bool waitUntilComplete(Clock::time_point deadline);
    // The columns completed since the last call, each with its index, in no particular order.
    std::vector<std::pair<std::int32_t, OrbitColumn>> takeCompleted();

private:
    void work(Priority priority);

    const OrbitDiagram& diagram;
    const std::int32_t first;
    const std::int32_t end;
    std::atomic<std::int32_t> next;
    std::atomic<bool> cancelled{false};
    mutable std::mutex mutex;
    std::condition_variable columnDone;
    std::vector<std::pair<std::int32_t, OrbitColumn>> completed;
    std::int32_t completedColumns = 0;
    // Last, so the workers are joined before anything they use goes.
    std::vector<std::jthread> workers;
};

} // namespace kinora
