#include "KNImageExporter.h"

#include "KNImageExportJob.h"

bool KNImageExporter::write(KNOpenGLView& view, int width, int height, const std::string& path,
                            KNError* error) {
    const std::unique_ptr<KNImageExportJob> job = KNImageExportJob::open(
        view, QSize(width, height), path, KNOutputFile::Streams::allowed, {}, error);
    return job && job->runToEnd(error);
}
