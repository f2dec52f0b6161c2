#pragma once

#include "KNTrajectoryCsv.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// Formats completed paths as CSV (see KNTrajectoryCsv) and hands the text to its sink on a
// thread of its own, in the order the paths were added, so that the paths still to come are
// computed meanwhile. The paths waiting hold a bounded number of rows: the one adding waits for
// room.
class KNTrajectoryCsvThread {
public:
    using Clock = std::chrono::steady_clock;

    // A completed path, as KNTrajectoryCsv::writeRows takes it, whole.
    struct Path {
        int seed = 0;
        int evolution = 0;
        double s = 0.0;
        std::vector<double> parameterValues;
        double step = 0.0;
        // x, y and z of each row in turn.
        std::vector<double> states;
    };

    // Starts the thread, which writes the header first. sink is called on that thread only.
    KNTrajectoryCsvThread(std::vector<std::string> parameterNames,
                          std::function<bool(std::string_view)> sink);
    // Stops within a few thousand rows; the paths still waiting are dropped.
    ~KNTrajectoryCsvThread();
    KNTrajectoryCsvThread(const KNTrajectoryCsvThread&) = delete;
    KNTrajectoryCsvThread& operator=(const KNTrajectoryCsvThread&) = delete;

    // Waits until the deadline at most for the paths waiting to leave room for one more; true
    // once they do, or once writing has failed (then nothing is written any more).
    bool hasRoomBy(Clock::time_point deadline);
    void add(Path path);
    // Says that no path follows and waits until the deadline at most for every row to reach the
    // sink; true once it has, or writing has failed.
    bool writeAllBy(Clock::time_point deadline);
    // Whether the sink refused text. Once true, the thread no longer calls the sink.
    bool failed() const;
    std::int64_t rowsWritten() const { return rows.load(std::memory_order_relaxed); }

private:
    void run();
    bool write(const Path& path);

    KNTrajectoryCsv csv;
    mutable std::mutex mutex;
    std::condition_variable changed;
    std::deque<Path> waiting;
    // The rows of the paths added and not yet written, the one being written included.
    std::int64_t waitingRows = 0;
    bool ended = false;
    bool allWritten = false;
    bool sinkFailed = false;
    std::atomic<bool> stopping = false;
    std::atomic<std::int64_t> rows = 0;
    std::thread thread;
};
