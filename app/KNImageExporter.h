#pragma once

#include "KNError.h"

#include <string>

class KNOpenGLView;

// Writes a view's picture as a PNG file, drawn off screen at any size with the view's camera.
class KNImageExporter {
public:
    // Larger pictures would take gigabytes to draw and to hold.
    static constexpr int maxSide = 8192;

    // width x height pixels into path, replaced only once the image is complete.
    static bool write(KNOpenGLView& view, int width, int height, const std::string& path,
                      KNError* error = nullptr);
};
