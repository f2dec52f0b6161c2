#include "KNRecomputationPresenter.h"

#include "Exploration.h"
#include "KNFrameStatistics.h"
#include "KNPlotView.h"
#include "KNStatusReporter.h"
#include "Seed.h"
#include "SeedNumber.h"

KNRecomputationPresenter::KNRecomputationPresenter(const kinora::Exploration& exploration,
                                                   KNPlotView& view, KNStatusReporter* status,
                                                   std::function<void()> finished,
                                                   std::function<void()> began)
    : exploration(exploration), view(view), status(status), finished(std::move(finished)),
      began(std::move(began)) {}

void KNRecomputationPresenter::explorationDidBeginRecomputation() {
    report.clear();
    if (began) {
        began();
    }
    if (follower) {
        follower->explorationDidBeginRecomputation();
    }
}

Seed* KNRecomputationPresenter::seedAt(std::size_t seedIndex) {
    Seed* found = nullptr;
    std::size_t index = 0;
    view.enumerateSeedsWithBlock([&](Seed* seed) {
        if (index++ == seedIndex) {
            found = seed;
        }
    });
    return found;
}

void KNRecomputationPresenter::blankPaths(Seed* seed, std::size_t first, std::size_t end) {
    for (std::size_t m = first; m < end; ++m) {
        view.blankPathWithID(seed->pathIDs[m]);
    }
}

void KNRecomputationPresenter::explorationDidStartFan(std::size_t seedIndex,
                                                      std::int32_t evolutions) {
    fanSeed = seedAt(seedIndex);
    // Only the paths beyond the evolutions are blanked: the others are replaced as they are
    // computed, and blanking them too would reallocate their buffers twice per drag event.
    blankPaths(fanSeed, static_cast<std::size_t>(evolutions), fanSeed->pathIDs.size());
    if (follower) {
        follower->explorationDidStartFan(seedIndex, evolutions);
    }
}

void KNRecomputationPresenter::explorationDidDeferFan(std::size_t seedIndex) {
    Seed* seed = seedAt(seedIndex);
    blankPaths(seed, 0, seed->pathIDs.size());
}

void KNRecomputationPresenter::explorationDidCompletePath(std::size_t seedIndex,
                                                          std::int32_t evolution,
                                                          const kinora::SeedFan& fan) {
    const kinora::FanPath& path = fan.path(evolution);
    view.replacePathWithID(fanSeed->pathIDs[static_cast<std::size_t>(evolution)],
                           reinterpret_cast<const float*>(path.vertices.data()),
                           fan.indices().data(), fan.vertexCount(), fan.vertexCount(),
                           static_cast<float>(path.s));
    report.add(static_cast<int>(kinora::seedNumber(seedIndex)), exploration.seedPosition(seedIndex),
               path.s, exploration.system(), path.outcome);
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
    // A picture still being drawn in slices is finished first: starting it again after every
    // slice of work would never show the paths beyond its first slice.
    if (!view.isDrawing()) {
        view.requestRedraw();
    }
}

void KNRecomputationPresenter::explorationDidFinishRecomputation() {
    if (status) {
        status->endProgress();
        // One status message per recomputation, however many paths met a problem, and no
        // alert: a drag recomputes on every event.
        status->reportRecomputation(report.message());
    }
    view.requestRedraw();
    if (follower) {
        follower->explorationDidFinishRecomputation();
    }
    if (finished) {
        finished();
    }
}
