#pragma once

#include <QSize>

// How large an image the views may ask the GL for: no side beyond what it reports it can
// allocate or draw (GL_MAX_TEXTURE_SIZE, GL_MAX_RENDERBUFFER_SIZE, GL_MAX_VIEWPORT_DIMS) and no
// more bytes than a fixed budget, so a huge window or export degrades to a coarser picture
// instead of freezing the program while gigabytes are allocated. Needs a current GL context.
class KNImageLimits {
public:
    // The most bytes one view's images (or one exported image) may take together.
    static constexpr double memoryBudget = 256.0 * 1024.0 * 1024.0;

    // wanted, scaled down with its aspect ratio kept (each side at least 1) until every side
    // is within the GL's limits and the images of bytesPerPixel fit the budget.
    static QSize fit(QSize wanted, int bytesPerPixel);
    // Whether a window of pixelSize can be drawn to at all: the platform allocates its buffers
    // at that size, so larger windows are left undrawn.
    static bool canPresent(QSize pixelSize);
    // The smallest of the GL's size limits.
    static int largestSide();
};
