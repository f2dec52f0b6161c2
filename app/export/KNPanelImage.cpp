#include "KNPanelImage.h"

#include "Exploration.h"
#include "KNAnalysisPictures.h"
#include "KNOutputFile.h"
#include "KNScatterPicture.h"
#include "OrbitDiagramJob.h"
#include "SectionDotsFollower.h"

#include <QBuffer>

std::optional<QImage> KNPanelImage::orbitDiagram(const kinora::Exploration& exploration,
                                                 const kinora::AnalysisPanelSettings& settings,
                                                 QSize size, std::string* problem) {
    if (auto refusal = kinora::orbitDiagramRefusal(settings.orbit, settings.section,
                                                   exploration.integrator().integrationStep())) {
        *problem = *refusal;
        return std::nullopt;
    }
    const kinora::OrbitDiagramJob job(exploration, settings);
    KNScatterPicture picture;
    const KNOrbitAxis axis = orbitAxisOf(exploration.system().parameters);
    prepareOrbitPicture(picture, axis,
                        orbitValueTitle(settings.orbit.quantity, settings.orbit.variable));
    for (const kinora::OrbitColumn& column :
         job.diagram().columns(0, settings.orbit.resolution, job.threads())) {
        if (!column.error.empty()) {
            *problem = "the orbit diagram stopped: " + column.error;
            return std::nullopt;
        }
        addOrbitColumn(picture, axis, column);
    }
    return picture.image(size, 1.0);
}

QImage KNPanelImage::section(const kinora::SectionDotsFollower& follower, QSize size) {
    KNScatterPicture picture;
    drawSectionPicture(picture, follower.section(), follower.dots().all());
    return picture.image(size, 1.0);
}

bool KNPanelImage::write(const QImage& image, const std::string& path, KNError* error) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    std::optional<std::string> failure;
    std::string problem;
    std::unique_ptr<KNOutputFile> file;
    if (!image.save(&buffer, "PNG")) {
        failure = "the picture cannot be encoded as PNG";
    } else if (file = KNOutputFile::open(path, KNOutputFile::Streams::allowed, &problem); !file) {
        failure = problem;
    } else if (!file->write(bytes.constData(), bytes.size())) {
        failure = file->errorString();
    } else {
        failure = file->commit();
    }
    if (failure) {
        *error = {"KNExportErrorDomain", 0,
                  "Cannot export the picture " + KNOutputFile::describe(path) + ": " + *failure +
                      "."};
    }
    return !failure;
}
