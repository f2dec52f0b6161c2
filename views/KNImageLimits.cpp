#include "KNImageLimits.h"

#include <algorithm>
#include <cmath>
#include <epoxy/gl.h>

namespace {

// A window's colour buffers: front, back and the platform's copy.
constexpr int windowBytesPerPixel = 12;

} // namespace

int KNImageLimits::largestSide() {
    // The limits do not change while the process runs.
    static const int side = [] {
        GLint texture = 0, renderbuffer = 0;
        GLint viewport[2] = {0, 0};
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
        glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
        glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
        return std::max(1, std::min({texture, renderbuffer, viewport[0], viewport[1]}));
    }();
    return side;
}

QSize KNImageLimits::fit(QSize wanted, int bytesPerPixel) {
    const double width = std::max(1, wanted.width());
    const double height = std::max(1, wanted.height());
    const double side = largestSide();
    double scale = std::min({1.0, side / width, side / height});
    const double bytes = width * height * bytesPerPixel;
    if (bytes * scale * scale > memoryBudget) {
        scale = std::min(scale, std::sqrt(memoryBudget / bytes));
    }
    return QSize(
        std::clamp(static_cast<int>(std::floor(width * scale)), 1, static_cast<int>(side)),
        std::clamp(static_cast<int>(std::floor(height * scale)), 1, static_cast<int>(side)));
}

bool KNImageLimits::canPresent(QSize pixelSize) {
    const double bytes =
        static_cast<double>(pixelSize.width()) * pixelSize.height() * windowBytesPerPixel;
    return pixelSize.width() <= largestSide() && pixelSize.height() <= largestSide() &&
           bytes <= 4.0 * memoryBudget;
}
