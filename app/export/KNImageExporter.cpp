#include "KNImageExporter.h"

#include "KNImageExportJob.h"

bool KNImageExporter::write(KNScenePicture& picture, int width, int height, double pixelsPerPoint,
                            const std::string& path, KNError* error) {
    const std::unique_ptr<KNImageExportJob> job =
        KNImageExportJob::open(picture, QSize(width, height), pixelsPerPoint, path,
                               KNOutputFile::Streams::allowed, {}, {}, error);
    return job && job->runToEnd(error);
}
