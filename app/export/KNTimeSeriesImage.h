#pragma once

#include "KNError.h"

#include <QSize>
#include <string>

class KNPlotView;

namespace kinora {
class Exploration;
}

// The time-series panel of an exploration's first seed, drawn off screen as a window shows it
// with that seed selected: x, y and z against t for every path of its fan, from the plot view's
// own path buffers, so the transient and the time cursor apply as they do there.
class KNTimeSeriesImage {
public:
    // plotView holds the exploration's seeds and paths, in the same order. size is in pixels,
    // one per point.
    static bool write(KNPlotView& plotView, const kinora::Exploration& exploration, QSize size,
                      const std::string& path, KNError* error);
};
