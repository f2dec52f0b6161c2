#pragma once

#include <chrono>
#include <cstdio>
#include <string>

// Frame statistics for KINORA_FRAME_STATS=1: one line on standard error per handled user event
// that redraws, e.g.
//   frame event=drag seeds=100 compute_ms=0.35 upload_ms=0.03 draw_ms=2.10 present_ms=0.40
//   total_ms=2.95 size=800x600
// compute is integrating trajectories, upload is handing them to GL, draw is rendering the
// views' pictures off screen (finished before it is timed), present is copying them onto the
// windows and swapping; total is the wall time from the start of the event to the last
// present. seeds and size are the plot view's. Without the variable every call is a cheap no-op.
//
// An event may redraw several views, each once, after its handler has returned (redraws are
// coalesced): the line is printed when the last requested redraw is done.
class KNFrameStatistics {
public:
    using Clock = std::chrono::steady_clock;

    static bool enabled();

    // Opens the record of the user event being handled; while one is open (its redraws still
    // pending) the first name stays.
    static void beginEvent(const char* kind);
    static void addCompute(Clock::duration spent);
    static void addUpload(Clock::duration spent);
    // A view asked for a redraw that has not happened yet.
    static void redrawRequested();
    // A view has drawn and presented; wasRequested when it answers a redrawRequested(). seeds is
    // the plot view's seed count, -1 for another view (whose size is reported only when no plot
    // view drew).
    static void redrawDone(Clock::duration draw, Clock::duration present, bool wasRequested,
                           int seeds, int width, int height);

private:
    static void print();
};

// Measures the time from its construction to elapsed().
class KNStopwatch {
public:
    KNStopwatch() : start(KNFrameStatistics::Clock::now()) {}
    KNFrameStatistics::Clock::duration elapsed() const {
        return KNFrameStatistics::Clock::now() - start;
    }

private:
    KNFrameStatistics::Clock::time_point start;
};
