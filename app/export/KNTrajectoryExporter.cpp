#include "KNTrajectoryExporter.h"

#include "KNTrajectoryExportJob.h"

bool KNTrajectoryExporter::write(KNTrajectorySnapshot snapshot, const std::string& path,
                                 KNError* error) {
    const std::unique_ptr<KNTrajectoryExportJob> job = KNTrajectoryExportJob::open(
        std::move(snapshot), path, KNOutputFile::Streams::allowed, error);
    return job && job->runToEnd(error);
}
