#include "KNWindowRecomputation.h"

#include "Exploration.h"
#include "KNStatusReporter.h"

KNWindowRecomputation::KNWindowRecomputation(kinora::Exploration& exploration)
    : exploration(exploration) {
    exploration.startWorkers();
}

KNWindowRecomputation::~KNWindowRecomputation() {
    if (presenter) {
        exploration.setListener(nullptr);
    }
}

void KNWindowRecomputation::showIn(KNPlotView& view, KNStatusReporter* status,
                                   std::function<void()> finished, std::function<void()> began,
                                   KNTimeSeriesPresenter* timeSeries) {
    this->status = status;
    presenter = std::make_unique<KNRecomputationPresenter>(
        exploration, view, status, std::move(finished), std::move(began), timeSeries);
    exploration.setListener(presenter.get());
}

void KNWindowRecomputation::setFollower(kinora::ExplorationListener* follower) {
    if (presenter) {
        presenter->setFollower(follower);
    }
}

KNRecomputation::Work KNWindowRecomputation::work() {
    return [this](KNRecomputation::Clock::time_point deadline) {
        return exploration.advance(deadline);
    };
}

void KNWindowRecomputation::start() {
    if (status) {
        status->withdrawRefusal();
    }
    slices.start(work());
}

void KNWindowRecomputation::startLater() {
    if (exploration.isRecomputing()) {
        slices.startLater(work());
    }
}

void KNWindowRecomputation::complete() {
    slices.cancel();
    exploration.completeRecomputation();
}

bool KNWindowRecomputation::stop() {
    if (!exploration.isRecomputing()) {
        return false;
    }
    slices.cancel();
    exploration.stopRecomputation();
    return true;
}
