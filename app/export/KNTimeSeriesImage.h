#pragma once

#include "KNError.h"

#include <QSize>
#include <string>

class KNPlotPicture;

namespace kinora {
class Exploration;
}

// The time-series panel of an exploration's first seed, drawn off screen as a window shows it
// with that seed selected: x, y and z against t for every path of its fan, from the plot
// picture's own path buffers, so the transient and the time cursor apply as they do there.
// Creates no window, widget or view.
class KNTimeSeriesImage {
public:
    // plot holds the exploration's seeds and paths, in the same order. size is in pixels, one
    // per point.
    static bool write(KNPlotPicture& plot, const kinora::Exploration& exploration, QSize size,
                      const std::string& path, KNError* error);
};
