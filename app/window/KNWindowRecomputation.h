#pragma once

#include "KNRecomputation.h"
#include "KNRecomputationPresenter.h"

#include <functional>
#include <memory>

class KNPlotView;
class KNStatusReporter;
class KNTimeSeriesPresenter;

namespace kinora {
class Exploration;
}

// A window's recomputation of its exploration's fans: run in slices between the window's events
// (KNRecomputation), and, once the window has loaded, shown in its plot view and status bar as
// it goes (KNRecomputationPresenter).
class KNWindowRecomputation {
public:
    // The exploration's workers start on its queued fans at once.
    explicit KNWindowRecomputation(kinora::Exploration& exploration);
    ~KNWindowRecomputation();
    KNWindowRecomputation(const KNWindowRecomputation&) = delete;
    KNWindowRecomputation& operator=(const KNWindowRecomputation&) = delete;

    // From now on the exploration's work shows in view, status and the time-series panel (when
    // given); finished, when given, runs once every recomputation has ended, shown, and began
    // whenever one starts afresh.
    void showIn(KNPlotView& view, KNStatusReporter* status, std::function<void()> finished,
                std::function<void()> began = {}, KNTimeSeriesPresenter* timeSeries = nullptr);
    // Not owned; told everything the window is told of the work, after it, once shown. Null for
    // none.
    void setFollower(kinora::ExplorationListener* follower);
    // Runs the exploration's queued work from its first slice on, superseding any running. A
    // change that starts one was taken, so a refusal still showing no longer holds and goes.
    void start();
    // The same, with no slice at once, when the exploration has work queued: the window shows
    // before the work begins.
    void startLater();
    // Does the rest of the work at once.
    void complete();
    // Drops the rest of the work, keeping the paths computed so far; false when none was left.
    bool stop();

private:
    KNRecomputation::Work work();

    kinora::Exploration& exploration;
    KNRecomputation slices;
    KNStatusReporter* status = nullptr;
    std::unique_ptr<KNRecomputationPresenter> presenter;
};
