#include "KNImageExporter.h"

#include "KNOpenGLView.h"

#include <QImage>
#include <QSaveFile>
#include <algorithm>
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
    const int largest = std::min(maxSide, view.maximumImageSide());
    if (width < 1 || height < 1 || width > largest || height > largest) {
        return fail("a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                    " pixels is too large; each side can be at most " + std::to_string(largest) +
                    " pixels here.");
    }
    const QImage picture = view.renderImage(QSize(width, height));
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
