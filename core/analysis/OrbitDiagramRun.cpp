#include "OrbitDiagramRun.h"

#include <algorithm>

namespace kinora {

OrbitDiagramRun::OrbitDiagramRun(const OrbitDiagram& diagram, std::int32_t first, std::int32_t end,
                                 int threads)
    : diagram(diagram), first(first), end(std::max(first, end)), next(first) {
    for (int t = 0; t < std::max(threads, 1); ++t) {
        workers.emplace_back([this] { work(); });
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

void OrbitDiagramRun::work() {
    for (std::int32_t k = next++; k < end && !cancelled; k = next++) {
        OrbitColumn column = diagram.column(k);
        const std::lock_guard lock(mutex);
        completed.emplace_back(k, std::move(column));
        ++completedColumns;
        columnDone.notify_all();
    }
}

} // namespace kinora
