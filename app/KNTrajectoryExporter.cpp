#include "KNTrajectoryExporter.h"

#include "KNPlotWindowController.h"
#include "KNTrajectoryExportJob.h"

bool KNTrajectoryExporter::write(KNPlotWindowController& controller, const std::string& path,
                                 KNError* error) {
    const std::unique_ptr<KNTrajectoryExportJob> job = KNTrajectoryExportJob::open(
        controller.trajectorySnapshot(), path, KNOutputFile::Streams::allowed, error);
    return job && job->runToEnd(error);
}
