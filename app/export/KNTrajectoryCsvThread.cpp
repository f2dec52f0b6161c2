#include "KNTrajectoryCsvThread.h"

#include <algorithm>
#include <utility>

namespace {

// About 6 MB of states: computing far ahead of the disk would only hold memory.
constexpr std::int64_t maxWaitingRows = std::int64_t{1} << 18;
// A millisecond or two of formatting between looks at whether to stop.
constexpr std::int64_t rowsPerPiece = 4096;

std::int64_t rowCount(const KNTrajectoryCsvThread::Path& path) {
    return static_cast<std::int64_t>(path.states.size() / 3);
}

} // namespace

KNTrajectoryCsvThread::KNTrajectoryCsvThread(std::vector<std::string> parameterNames,
                                             std::function<bool(std::string_view)> sink)
    : csv(std::move(parameterNames), std::move(sink)), thread([this] { run(); }) {}

KNTrajectoryCsvThread::~KNTrajectoryCsvThread() {
    {
        const std::lock_guard lock(mutex);
        stopping = true;
    }
    changed.notify_all();
    thread.join();
}

bool KNTrajectoryCsvThread::hasRoomBy(Clock::time_point deadline) {
    std::unique_lock lock(mutex);
    const auto room = [this] { return sinkFailed || waitingRows < maxWaitingRows; };
    // The farthest deadline would overflow the clock's conversions: it means no deadline.
    if (deadline == Clock::time_point::max()) {
        changed.wait(lock, room);
        return true;
    }
    return changed.wait_until(lock, deadline, room);
}

void KNTrajectoryCsvThread::add(Path path) {
    {
        const std::lock_guard lock(mutex);
        waitingRows += rowCount(path);
        waiting.push_back(std::move(path));
    }
    changed.notify_all();
}

bool KNTrajectoryCsvThread::writeAllBy(Clock::time_point deadline) {
    std::unique_lock lock(mutex);
    if (!ended) {
        ended = true;
        changed.notify_all();
    }
    const auto done = [this] { return allWritten || sinkFailed; };
    if (deadline == Clock::time_point::max()) {
        changed.wait(lock, done);
        return true;
    }
    return changed.wait_until(lock, deadline, done);
}

bool KNTrajectoryCsvThread::failed() const {
    const std::lock_guard lock(mutex);
    return sinkFailed;
}

void KNTrajectoryCsvThread::run() {
    bool written = csv.writeHeader();
    std::unique_lock lock(mutex);
    while (written) {
        changed.wait(lock, [this] { return stopping || ended || !waiting.empty(); });
        if (stopping) {
            return;
        }
        if (waiting.empty()) {
            lock.unlock();
            written = csv.finish();
            lock.lock();
            allWritten = written;
            break;
        }
        Path path = std::move(waiting.front());
        waiting.pop_front();
        lock.unlock();
        written = write(path);
        lock.lock();
        waitingRows -= rowCount(path);
        changed.notify_all();
    }
    sinkFailed = !written;
    changed.notify_all();
}

bool KNTrajectoryCsvThread::write(const Path& path) {
    const std::int64_t count = rowCount(path);
    for (std::int64_t first = 0; first < count && !stopping; first += rowsPerPiece) {
        const std::int64_t end = std::min(first + rowsPerPiece, count);
        if (!csv.writeRows(path.seed, path.evolution, path.s, path.parameterValues, path.step,
                           path.states.data(), static_cast<std::int32_t>(first),
                           static_cast<std::int32_t>(end))) {
            return false;
        }
        rows.fetch_add(end - first, std::memory_order_relaxed);
    }
    return true;
}
