#include "KNRecomputation.h"

KNRecomputation::KNRecomputation() {
    next.setSingleShot(true);
    next.setInterval(0);
    QObject::connect(&next, &QTimer::timeout, [this] { runSlice(laterLength); });
}

void KNRecomputation::start(Work newWork) {
    work = std::move(newWork);
    runSlice(firstLength);
}

void KNRecomputation::startLater(Work newWork) {
    work = std::move(newWork);
    next.start();
}

void KNRecomputation::setSlices(std::chrono::milliseconds first, std::chrono::milliseconds later) {
    firstLength = first;
    laterLength = later;
}

void KNRecomputation::cancel() {
    next.stop();
    work = nullptr;
}

void KNRecomputation::runSlice(std::chrono::milliseconds length) {
    next.stop();
    if (!work) {
        return;
    }
    if (work(Clock::now() + length)) {
        work = nullptr;
    } else {
        next.start();
    }
}
