#include "OrbitDiagramRun.h"

#include <algorithm>
#include <sys/resource.h>
#include <unistd.h>

namespace kinora {

namespace {
// Far enough below the window's thread that it gets a core at once when it needs one.
constexpr int backgroundNiceness = 10;
} // namespace

OrbitDiagramRun::OrbitDiagramRun(const OrbitDiagram& diagram, std::int32_t first, std::int32_t end,
                                 int threads, Priority priority)
    : diagram(diagram), first(first), end(std::max(first, end)), next(first) {
    for (int t = 0; t < std::max(threads, 1); ++t) {
        workers.emplace_back([this, priority] { work(priority); });
    }
}

OrbitDiagramRun::~OrbitDiagramRun() {
    cancel();
    workers.clear();
}

void OrbitDiagramRun::cancel() {
    cancelled = true;
}

std::int32_t OrbitDiagramRun::completedCount() const {
    const std::lock_guard lock(mutex);
    return completedColumns;
}

bool OrbitDiagramRun::waitUntilComplete(Clock::time_point deadline) {
    std::unique_lock lock(mutex);
    return columnDone.wait_until(lock, deadline,
                                 [this] { return completedColumns == columnCount(); });
}

std::vector<std::pair<std::int32_t, OrbitColumn>> OrbitDiagramRun::takeCompleted() {
    const std::lock_guard lock(mutex);
    return std::exchange(completed, {});
}

void OrbitDiagramRun::work(Priority priority) {
    if (priority == Priority::background) {
        // This thread only (Linux keeps a nice value per thread). Should it fail, the columns
        // still come, only sharing the cores evenly.
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), backgroundNiceness);
    }
    for (std::int32_t k = next++; k < end && !cancelled; k = next++) {
        OrbitColumn column = diagram.column(k);
        const std::lock_guard lock(mutex);
        completed.emplace_back(k, std::move(column));
        ++completedColumns;
        columnDone.notify_all();
    }
}

} // namespace kinora
