#pragma once

#include <QTimer>
#include <chrono>
#include <functional>

// Runs work that can be cut into slices so that it never keeps its window from answering input
// for long. The first slice runs at once, inside the action that started the work, so small
// work is done when the action returns; what is left runs in further slices from the event
// loop, which handles the user's input in between. Starting new work supersedes the old.
class KNRecomputation {
public:
    using Clock = std::chrono::steady_clock;
    // Works until the deadline, checking it between small pieces; returns true when all is done.
    using Work = std::function<bool(Clock::time_point deadline)>;

    KNRecomputation();

    void start(Work work);
    // Starts work with no slice at once: the first runs from the event loop, once what the
    // caller is doing (opening a window) is done.
    void startLater(Work work);
    // Drops the rest of the work.
    void cancel();
    bool isRunning() const { return static_cast<bool>(work); }
    // The lengths of the first and the later slices of work started from now on.
    void setSlices(std::chrono::milliseconds first, std::chrono::milliseconds later);

    // The event loop runs what is due (a picture's slice, the next slice of work) before it
    // hands over the input that came meanwhile, so a key typed during a long recomputation
    // waits for the rest of the slice under way, and for one of each of those, the first after
    // an edit also for the action's own first slice. With slices this short they stay within
    // the tenth of a second that feels immediate on a busy machine too, with room for one more
    // step of a slow script past the deadline. The first is long enough for a dragged seed's
    // fan, so a drag shows its new paths with the event.
    static constexpr std::chrono::milliseconds firstSlice{15};
    static constexpr std::chrono::milliseconds laterSlice{10};

private:
    void runSlice(std::chrono::milliseconds length);

    Work work;
    QTimer next;
    std::chrono::milliseconds firstLength = firstSlice;
    std::chrono::milliseconds laterLength = laterSlice;
};
