#include "KNRecomputation.h"

KNRecomputation::KNRecomputation() {
    next.setSingleShot(true);
    next.setInterval(0);
    QObject::connect(&next, &QTimer::timeout, [this] { runSlice(laterSlice); });
}

void KNRecomputation::start(Work newWork) {
    work = std::move(newWork);
    runSlice(firstSlice);
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
