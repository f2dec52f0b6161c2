#pragma once

#include "AnalysisPanelSettings.h"
#include "KNError.h"

#include <QImage>
#include <optional>
#include <string>

namespace kinora {
class Exploration;
class SectionDotsFollower;
} // namespace kinora

// The 2-D panels drawn without a window: the orbit diagram of an exploration's sweep and its
// section panel, as a window shows them, into a PNG file.
class KNPanelImage {
public:
    // The whole diagram, computed on every core; nothing, with the reason, when its settings
    // are refused or a column's computation failed.
    static std::optional<QImage> orbitDiagram(const kinora::Exploration& exploration,
                                              const kinora::AnalysisPanelSettings& settings,
                                              QSize size, std::string* problem);
    // The section panel with the crossings follower collected.
    static QImage section(const kinora::SectionDotsFollower& follower, QSize size);
    // image as PNG into the output at path (see KNOutputFile).
    static bool write(const QImage& image, const std::string& path, KNError* error);
};
