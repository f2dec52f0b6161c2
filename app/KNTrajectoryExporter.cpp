#include "KNTrajectoryExporter.h"

#include "KNPlotWindowController.h"
#include "KNTrajectoryExportJob.h"

bool KNTrajectoryExporter::write(KNPlotWindowController& controller, const std::string& path,
                                 KNError* error) {
    const std::unique_ptr<KNTrajectoryExportJob> job =
        KNTrajectoryExportJob::open(controller.trajectorySnapshot(), path, error);
    if (!job) {
        return false;
    }
    job->workUntil(KNExportJob::Clock::time_point::max());
    KNExportJob::Outcome outcome = job->finish();
    if (outcome.kind != KNExportJob::Outcome::Kind::written) {
        if (error) {
            *error = std::move(outcome.error);
        }
        return false;
    }
    return true;
}
