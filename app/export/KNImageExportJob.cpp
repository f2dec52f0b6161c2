#include "KNImageExportJob.h"

#include "KNImageRendering.h"

#include <QBuffer>
#include <QImage>
#include <algorithm>
#include <utility>

KNImageExportJob::KNImageExportJob(KNScenePicture& picture, QSize size, double pixelsPerPoint,
                                   const std::string& path, std::function<bool()> sceneIsComplete,
                                   std::function<std::uint64_t()> pictureRevision)
    : picture(picture), size(size), pixelsPerPoint(pixelsPerPoint),
      name(KNOutputFile::describe(path)), sceneIsComplete(std::move(sceneIsComplete)),
      pictureRevision(std::move(pictureRevision)) {}

KNImageExportJob::~KNImageExportJob() = default;

KNError KNImageExportJob::failure(const std::string& reason) const {
    return {"KNExportErrorDomain", 0, "Cannot export the image " + name + ": " + reason};
}

std::unique_ptr<KNImageExportJob>
KNImageExportJob::open(KNScenePicture& picture, QSize size, double pixelsPerPoint,
                       const std::string& path, KNOutputFile::Streams streams,
                       std::function<bool()> sceneIsComplete,
                       std::function<std::uint64_t()> pictureRevision, KNError* error) {
    std::unique_ptr<KNImageExportJob> job(new KNImageExportJob(picture, size, pixelsPerPoint, path,
                                                               std::move(sceneIsComplete),
                                                               std::move(pictureRevision)));
    const std::string pixels =
        std::to_string(size.width()) + " x " + std::to_string(size.height()) + " pixels";
    std::optional<std::string> refusal;
    if (size.width() < 1 || size.height() < 1 || size.width() > maxSide ||
        size.height() > maxSide) {
        refusal = "a picture of " + pixels + " is too large; each side can be at most " +
                  std::to_string(maxSide) + " pixels.";
    } else if (KNImageRendering::fittedSize(size) != size) {
        // The views draw a smaller picture when the graphics system or the memory budget
        // cannot hold the one asked for; an export writes the size asked for or nothing.
        refusal = "this graphics system cannot draw a picture of " + pixels +
                  " at once; choose a smaller size.";
    }
    if (!refusal) {
        std::string problem;
        job->file = KNOutputFile::open(path, streams, &problem);
        if (!job->file) {
            refusal = problem + ".";
        }
    }
    if (refusal) {
        if (error) {
            *error = job->failure(*refusal);
        }
        return nullptr;
    }
    return job;
}

bool KNImageExportJob::workUntil(Clock::time_point deadline) {
    if (!rendering) {
        if (sceneIsComplete && !sceneIsComplete()) {
            return false;
        }
        rendering = std::make_unique<KNImageRendering>(picture, size, pixelsPerPoint);
        revision = pictureRevision ? pictureRevision() : 0;
    }
    if (!writing) {
        pictureChanged = pictureRevision && pictureRevision() != revision;
        if (pictureChanged || !rendering->drawUntil(deadline)) {
            return pictureChanged;
        }
        startWriting();
    }
    return writing->waitUntil(deadline);
}

void KNImageExportJob::startWriting() {
    writing = std::make_unique<KNBackgroundFileWrite>(
        file->handle(),
        [pixels = rendering->pixels()](std::string* error) -> std::optional<QByteArray> {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            if (!KNImageRendering::imageFromPixels(pixels).save(&buffer, "PNG")) {
                *error = "the picture cannot be encoded as PNG";
                return std::nullopt;
            }
            return bytes;
        });
}

double KNImageExportJob::progress() const {
    return rendering ? rendering->progress() : 0.0;
}

KNExportJob::Outcome KNImageExportJob::finish() {
    if (pictureChanged) {
        return {Outcome::Kind::abandoned,
                "Stopped the export to " + name + ": the picture changed while it was drawn." +
                    (file->keepsEarlierFile() ? " Any earlier file is unchanged." : ""),
                {}};
    }
    if (const std::optional<std::string> reason =
            KNBackgroundFileWrite::commit(*file, writing.get())) {
        return {Outcome::Kind::failed, {}, failure(*reason + ".")};
    }
    return {Outcome::Kind::written, "Exported the image to " + name + ".", {}};
}
