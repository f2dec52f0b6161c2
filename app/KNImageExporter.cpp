#include "KNImageExporter.h"

#include "KNOpenGLView.h"

#include <QImage>
#include <QSaveFile>
#include <filesystem>

bool KNImageExporter::write(KNOpenGLView& view, int width, int height, const std::string& path,
                            KNError* error) {
    const std::string name = "\"" + std::filesystem::path(path).filename().string() + "\"";
    const auto fail = [&](const std::string& reason) {
        if (error) {
            *error = {"KNExportErrorDomain", 0, "Cannot export the image " + name + ": " + reason};
        }
        return false;
    };
    const std::string size = std::to_string(width) + " x " + std::to_string(height) + " pixels";
    if (width < 1 || height < 1 || width > maxSide || height > maxSide) {
        return fail("a picture of " + size + " is too large; each side can be at most " +
                    std::to_string(maxSide) + " pixels.");
    }
    // The views draw a smaller picture when the graphics system or the memory budget cannot
    // hold the one asked for; an export writes the size asked for or nothing.
    const QImage picture = view.renderImage(QSize(width, height));
    if (picture.size() != QSize(width, height)) {
        return fail("this graphics system cannot draw a picture of " + size +
                    " at once; choose a smaller size.");
    }
    QSaveFile file(QString::fromStdString(path));
    // Unbuffered, so a write that fails is seen before the file is renamed into place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return fail(file.errorString().toStdString() + ".");
    }
    if (!picture.save(&file, "PNG") || !file.commit()) {
        return fail(file.errorString().toStdString() + ".");
    }
    return true;
}
