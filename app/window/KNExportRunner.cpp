#include "KNExportRunner.h"

#include "KNStatusReporter.h"

#include <QMetaObject>
#include <QString>
#include <utility>

KNExportRunner::KNExportRunner() = default;

void KNExportRunner::start(std::unique_ptr<KNExportJob> newJob, KNStatusReporter* reporter,
                           FailureHandler failureHandler) {
    job = std::move(newJob);
    status = reporter;
    onFailure = std::move(failureHandler);
    slices.start([this](KNExportJob::Clock::time_point deadline) { return workUntil(deadline); });
}

std::string KNExportRunner::runningFileName() const {
    return job ? job->quotedFileName() : std::string();
}

bool KNExportRunner::cancel() {
    if (!job) {
        return false;
    }
    slices.cancel();
    const std::string name = job->quotedFileName();
    job.reset();
    status->endExportProgress();
    status->reportNotice(QString::fromStdString("Cancelled the export to " + name +
                                                "; any earlier file is unchanged."));
    return true;
}

void KNExportRunner::setSlices(std::chrono::milliseconds first, std::chrono::milliseconds later) {
    slices.setSlices(first, later);
}

bool KNExportRunner::workUntil(KNExportJob::Clock::time_point deadline) {
    if (!job->workUntil(deadline)) {
        status->reportExportProgress(job->progress());
        return false;
    }
    finish();
    return true;
}

void KNExportRunner::finish() {
    KNExportJob::Outcome outcome = job->finish();
    job.reset();
    status->endExportProgress();
    if (outcome.kind != KNExportJob::Outcome::Kind::failed) {
        status->reportNotice(QString::fromStdString(outcome.message));
        return;
    }
    QMetaObject::invokeMethod(
        &alertContext, [error = std::move(outcome.error), handler = onFailure] { handler(error); },
        Qt::QueuedConnection);
}
