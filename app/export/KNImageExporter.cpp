#include "KNImageExporter.h"

#include "KNImageExportJob.h"

bool KNImageExporter::write(KNOpenGLView& view, int width, int height, double pixelsPerPoint,
                            const std::string& path, KNError* error) {
    const std::unique_ptr<KNImageExportJob> job =
        KNImageExportJob::open(view, QSize(width, height), pixelsPerPoint, path,
                               KNOutputFile::Streams::allowed, {}, error);
    return job && job->runToEnd(error);
}
