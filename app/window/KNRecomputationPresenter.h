#pragma once

#include "ExplorationListener.h"
#include "KNPlotViewPathFeed.h"
#include "KNRecomputationReport.h"

#include <functional>

class KNPlotView;
class KNTimeSeriesPresenter;
class KNStatusReporter;

namespace kinora {
class Exploration;
}

// Shows an exploration's recomputation in its window: each path in the plot view
// (KNPlotViewPathFeed) (and, for the selected seed, in the time-series panel) as soon as it is
// final, the view redrawn once the work pauses or ends, and in the status bar the progress of long
// work and, once per recomputation, what its paths ran into. The plot view's seeds are the
// exploration's, in the same order. A view drawn with no window around it has no status bar and no
// time-series panel.
class KNRecomputationPresenter final : public kinora::ExplorationListener {
public:
    // finished, when given, runs once every recomputation has ended, shown; began, when given,
    // whenever one starts afresh.
    KNRecomputationPresenter(const kinora::Exploration& exploration, KNPlotView& view,
                             KNStatusReporter* status, std::function<void()> finished = {},
                             std::function<void()> began = {},
                             KNTimeSeriesPresenter* timeSeries = nullptr);

    // Not owned; told everything the presenter is told, after it, or nothing when null.
    void setFollower(kinora::ExplorationListener* listener) { follower = listener; }

    void explorationDidBeginRecomputation() override;
    void explorationDidStartFan(std::size_t seedIndex, std::int32_t evolutions) override;
    void explorationDidCompletePath(std::size_t seedIndex, std::int32_t evolution,
                                    const kinora::SeedFan& fan) override;
    void explorationDidDeferFan(std::size_t seedIndex) override;
    void explorationDidIntegrate(std::chrono::steady_clock::duration took) override;
    void explorationDidPause(std::int64_t donePaths, std::int64_t totalPaths) override;
    void explorationDidStopRecomputation(std::int64_t donePaths, std::int64_t totalPaths) override {
        report.stopped(donePaths, totalPaths);
    }
    void explorationDidFinishRecomputation() override;

private:
    // The time-series panel shows the seed's paths again when it is the selected seed.
    void showInTimeSeries(std::size_t seedIndex);

    const kinora::Exploration& exploration;
    // Redrawn once the work pauses or ends.
    KNPlotView& view;
    KNPlotViewPathFeed paths;
    KNStatusReporter* status;
    std::function<void()> finished;
    KNTimeSeriesPresenter* timeSeries;
    std::function<void()> began;
    // The same outcomes, told to the user once per recomputation.
    KNRecomputationReport report;
    kinora::ExplorationListener* follower = nullptr;
};
