#include "KNRecomputationPresenter.h"

#include "Exploration.h"
#include "KNFrameStatistics.h"
#include "KNPlotView.h"
#include "KNStatusReporter.h"
#include "KNTimeSeriesPresenter.h"
#include "SeedNumber.h"

KNRecomputationPresenter::KNRecomputationPresenter(const kinora::Exploration& exploration,
                                                   KNPlotView& view, KNStatusReporter* status,
                                                   std::function<void()> finished,
                                                   std::function<void()> began,
                                                   KNTimeSeriesPresenter* timeSeries)
    : exploration(exploration), paths(exploration, view.plotPicture(), &view), status(status),
      finished(std::move(finished)), timeSeries(timeSeries), began(std::move(began)) {}

void KNRecomputationPresenter::explorationDidBeginRecomputation() {
    report.clear();
    if (began) {
        began();
    }
    if (follower) {
        follower->explorationDidBeginRecomputation();
    }
}

void KNRecomputationPresenter::explorationDidStartFan(std::size_t seedIndex,
                                                      std::int32_t evolutions) {
    paths.explorationDidStartFan(seedIndex, evolutions);
    showInTimeSeries(seedIndex);
    if (follower) {
        follower->explorationDidStartFan(seedIndex, evolutions);
    }
}

void KNRecomputationPresenter::explorationDidDeferFan(std::size_t seedIndex) {
    paths.explorationDidDeferFan(seedIndex);
    showInTimeSeries(seedIndex);
    if (follower) {
        follower->explorationDidDeferFan(seedIndex);
    }
}

void KNRecomputationPresenter::explorationDidCompletePath(std::size_t seedIndex,
                                                          std::int32_t evolution,
                                                          const kinora::SeedFan& fan) {
    paths.explorationDidCompletePath(seedIndex, evolution, fan);
    const kinora::FanPath& path = fan.path(evolution);
    report.add(static_cast<int>(kinora::seedNumber(seedIndex)), exploration.seedPosition(seedIndex),
               path.s, exploration.system(), path.outcome);
    showInTimeSeries(seedIndex);
    if (follower) {
        follower->explorationDidCompletePath(seedIndex, evolution, fan);
    }
}

void KNRecomputationPresenter::explorationDidIntegrate(std::chrono::steady_clock::duration took) {
    KNFrameStatistics::addCompute(took);
}

void KNRecomputationPresenter::explorationDidPause(std::int64_t donePaths,
                                                   std::int64_t totalPaths) {
    if (status) {
        status->reportProgress(static_cast<int>(donePaths), static_cast<int>(totalPaths));
    }
    paths.explorationDidPause(donePaths, totalPaths);
}

void KNRecomputationPresenter::explorationDidFinishRecomputation() {
    if (status) {
        status->endProgress();
        // One status message per recomputation, however many paths met a problem, and no
        // alert: a drag recomputes on every event.
        status->reportRecomputation(report.message());
    }
    paths.explorationDidFinishRecomputation();
    if (follower) {
        follower->explorationDidFinishRecomputation();
    }
    if (finished) {
        finished();
    }
}

void KNRecomputationPresenter::showInTimeSeries(std::size_t seedIndex) {
    if (timeSeries) {
        timeSeries->seedPathsDidChange(paths.seedAt(seedIndex));
    }
}
