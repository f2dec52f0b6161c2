#include "KNAnimationFrames.h"

#include "KNPlotImageRenderer.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

std::string KNAnimationFrames::frameName(int index, int count) {
    const int digits = std::max(4, static_cast<int>(std::to_string(count - 1).size()));
    std::string number = std::to_string(index);
    number.insert(
        0, static_cast<std::size_t>(std::max(0, digits - static_cast<int>(number.size()))), '0');
    return "frame-" + number + ".png";
}

std::optional<std::string> KNAnimationFrames::folderRefusal(const std::string& folder, int count) {
    const QFileInfo info(QString::fromStdString(folder));
    if (!info.exists()) {
        return std::nullopt;
    }
    if (!info.isDir()) {
        return "\"" + folder + "\" is a file, not a folder to write the pictures into.";
    }
    static const QRegularExpression frameFile(QStringLiteral("^frame-(\\d+)\\.png$"));
    for (const QString& name : QDir(info.filePath()).entryList(QDir::Files)) {
        const QRegularExpressionMatch match = frameFile.match(name);
        if (!match.hasMatch()) {
            continue;
        }
        bool isNumber = false;
        const int index = match.captured(1).toInt(&isNumber);
        if (!isNumber || index >= count || name.toStdString() != frameName(index, count)) {
            return "\"" + folder + "\" already holds " + name.toStdString() +
                   " from another export, which a video made from the folder would show with "
                   "these pictures; empty the folder or choose another.";
        }
    }
    return std::nullopt;
}

bool KNAnimationFrames::write(KNPlotImageRenderer& renderer,
                              const std::optional<KNViewCamera>& camera, int width, int height,
                              const std::string& folder, int count, KNError* error) {
    const QString folderName = QString::fromStdString(folder);
    if (!QDir().mkpath(folderName)) {
        *error = {"KNExportErrorDomain", 0,
                  "Cannot export the pictures: the folder \"" + folder + "\" cannot be made."};
        return false;
    }
    const QDir target(folderName);
    for (int k = 0; k < count; ++k) {
        renderer.setTimeFraction(static_cast<double>(k) / (count - 1));
        const std::string path =
            target.filePath(QString::fromStdString(frameName(k, count))).toStdString();
        if (!renderer.write(camera, width, height, path, error)) {
            return false;
        }
    }
    return true;
}
