#include "KNFrameStatistics.h"

#include <cstdlib>
#include <cstring>

namespace {

// The one event being measured; the program handles one user event at a time.
struct FrameRecord {
    bool open = false;
    std::string kind;
    KNFrameStatistics::Clock::time_point start;
    KNFrameStatistics::Clock::duration compute{}, upload{}, draw{}, present{};
    int pendingRedraws = 0;
    bool hasPlotView = false;
    int seeds = 0;
    int width = 0;
    int height = 0;
};

FrameRecord record;

double milliseconds(KNFrameStatistics::Clock::duration spent) {
    return std::chrono::duration<double, std::milli>(spent).count();
}

// A redraw that no user event announced (an expose, a timer) still gets a line.
void openIfClosed(const char* kind) {
    if (!record.open) {
        KNFrameStatistics::beginEvent(kind);
    }
}

} // namespace

bool KNFrameStatistics::enabled() {
    static const bool on = [] {
        const char* value = std::getenv("KINORA_FRAME_STATS");
        return value != nullptr && std::strcmp(value, "1") == 0;
    }();
    return on;
}

void KNFrameStatistics::beginEvent(const char* kind) {
    if (!enabled() || (record.open && record.pendingRedraws > 0)) {
        return;
    }
    // Work done since the last line that no redraw has printed yet (a slice of a long
    // recomputation followed by a slice of drawing) goes into this event's line, so every
    // millisecond is counted once.
    const FrameRecord unprinted = record;
    record = FrameRecord();
    record.open = true;
    record.kind = kind;
    const bool carries = unprinted.compute.count() > 0 || unprinted.upload.count() > 0;
    record.start = carries ? unprinted.start : Clock::now();
    record.compute = unprinted.compute;
    record.upload = unprinted.upload;
}

void KNFrameStatistics::addCompute(Clock::duration spent) {
    if (enabled()) {
        openIfClosed("update");
        record.compute += spent;
    }
}

void KNFrameStatistics::addUpload(Clock::duration spent) {
    if (enabled()) {
        openIfClosed("update");
        record.upload += spent;
    }
}

void KNFrameStatistics::redrawRequested() {
    if (enabled()) {
        openIfClosed("expose");
        ++record.pendingRedraws;
    }
}

void KNFrameStatistics::redrawDone(Clock::duration draw, Clock::duration present, bool wasRequested,
                                   int seeds, int width, int height) {
    if (!enabled()) {
        return;
    }
    openIfClosed("redraw");
    record.draw += draw;
    record.present += present;
    const bool plotView = seeds >= 0;
    if (plotView || !record.hasPlotView) {
        record.hasPlotView = plotView;
        record.seeds = plotView ? seeds : 0;
        record.width = width;
        record.height = height;
    }
    if (wasRequested && record.pendingRedraws > 0) {
        --record.pendingRedraws;
    }
    if (record.pendingRedraws == 0) {
        print();
    }
}

void KNFrameStatistics::print() {
    const double total = milliseconds(Clock::now() - record.start);
    std::fprintf(stderr,
                 "frame event=%s seeds=%d compute_ms=%.2f upload_ms=%.2f draw_ms=%.2f "
                 "present_ms=%.2f total_ms=%.2f size=%dx%d\n",
                 record.kind.c_str(), record.seeds, milliseconds(record.compute),
                 milliseconds(record.upload), milliseconds(record.draw),
                 milliseconds(record.present), total, record.width, record.height);
    std::fflush(stderr);
    record = FrameRecord();
}
