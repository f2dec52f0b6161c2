#pragma once

#include "KNBackgroundFileWrite.h"
#include "KNExportJob.h"
#include "KNOutputFile.h"

#include <QSize>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class KNImageRendering;
class KNScenePicture;

// Writes a picture as a PNG file, drawn off screen at any size in slices (KNImageRendering), then
// encoded and written on a thread of its own (KNBackgroundFileWrite). The picture is begun once
// sceneIsComplete says the scene holds all it should (the window's trajectories), with the
// picture's camera of that moment; any change to the picture after that (a turn, a zoom, new
// trajectories, a selection) makes the job give up, since the image would no longer be the
// picture the user asked for.
class KNImageExportJob final : public KNExportJob {
public:
    // Larger pictures would take gigabytes to draw and to hold.
    static constexpr int maxSide = 8192;

    // A picture of size pixels for the output at path (see KNOutputFile); null, with the reason
    // in error, for a size no picture can have or this graphics system cannot draw, or an output
    // that cannot be opened. The picture must outlive the job; an empty sceneIsComplete counts
    // the scene as complete. pictureRevision counts the changes to the picture (see
    // KNOpenGLView::pictureRevision); empty for a picture that nothing changes meanwhile.
    static std::unique_ptr<KNImageExportJob>
    open(KNScenePicture& picture, QSize size, double pixelsPerPoint, const std::string& path,
         KNOutputFile::Streams streams, std::function<bool()> sceneIsComplete,
         std::function<std::uint64_t()> pictureRevision, KNError* error = nullptr);
    ~KNImageExportJob() override;

    bool workUntil(Clock::time_point deadline) override;
    double progress() const override;
    Outcome finish() override;
    std::string quotedFileName() const override { return name; }

private:
    KNImageExportJob(KNScenePicture& picture, QSize size, double pixelsPerPoint,
                     const std::string& path, std::function<bool()> sceneIsComplete,
                     std::function<std::uint64_t()> pictureRevision);

    KNError failure(const std::string& reason) const;
    // Starts encoding and writing the complete picture.
    void startWriting();

    KNScenePicture& picture;
    QSize size;
    // The picture's pixels per point of the view, as the export is asked for whatever the
    // window's size when the drawing begins.
    double pixelsPerPoint;
    std::string name;
    std::function<bool()> sceneIsComplete;
    std::function<std::uint64_t()> pictureRevision;
    std::unique_ptr<KNImageRendering> rendering;
    std::uint64_t revision = 0;
    bool pictureChanged = false;
    std::unique_ptr<KNOutputFile> file;
    std::unique_ptr<KNBackgroundFileWrite> writing;
};
