#include "KNImageExporter.h"

#include "KNImageExportJob.h"

bool KNImageExporter::write(KNOpenGLView& view, int width, int height, const std::string& path,
                            KNError* error) {
    const std::unique_ptr<KNImageExportJob> job =
        KNImageExportJob::open(view, QSize(width, height), path, {}, error);
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
