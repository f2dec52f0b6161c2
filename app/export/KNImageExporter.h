#pragma once

#include "KNError.h"

#include <string>

class KNScenePicture;

// Writes a picture as a PNG file at once (see KNImageExportJob), for callers with no window to
// keep answering, such as the command line.
class KNImageExporter {
public:
    // width x height pixels, pixelsPerPoint of them per point of the picture, into the output at
    // path (see KNOutputFile), pipes, devices and "-" included.
    static bool write(KNScenePicture& picture, int width, int height, double pixelsPerPoint,
                      const std::string& path, KNError* error = nullptr);
};
