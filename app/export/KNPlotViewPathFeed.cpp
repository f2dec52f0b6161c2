#include "KNPlotViewPathFeed.h"

#include "Exploration.h"
#include "KNOpenGLView.h"
#include "KNPlotPicture.h"
#include "Seed.h"

KNPlotViewPathFeed::KNPlotViewPathFeed(const kinora::Exploration& exploration,
                                       KNPlotPicture& picture, KNOpenGLView* view)
    : exploration(exploration), picture(picture), view(view) {}

Seed* KNPlotViewPathFeed::seedAt(std::size_t seedIndex) {
    return picture.seedAt(seedIndex);
}

void KNPlotViewPathFeed::blankPaths(Seed* seed, std::size_t first, std::size_t end) {
    for (std::size_t m = first; m < end; ++m) {
        picture.blankPathWithID(seed->pathIDs[m]);
    }
}

void KNPlotViewPathFeed::explorationDidStartFan(std::size_t seedIndex, std::int32_t evolutions) {
    fanSeed = seedAt(seedIndex);
    // Only the paths beyond the evolutions are blanked: the others are replaced as they are
    // computed, and blanking them too would reallocate their buffers twice per drag event.
    blankPaths(fanSeed, static_cast<std::size_t>(evolutions), fanSeed->pathIDs.size());
}

void KNPlotViewPathFeed::explorationDidDeferFan(std::size_t seedIndex) {
    Seed* seed = seedAt(seedIndex);
    blankPaths(seed, 0, seed->pathIDs.size());
}

void KNPlotViewPathFeed::explorationDidCompletePath(std::size_t, std::int32_t evolution,
                                                    const kinora::SeedFan& fan) {
    const kinora::FanPath& path = fan.path(evolution);
    picture.replacePathWithID(fanSeed->pathIDs[static_cast<std::size_t>(evolution)],
                              reinterpret_cast<const float*>(path.vertices.data()),
                              fan.indices().data(), fan.vertexCount(), fan.vertexCount(),
                              static_cast<float>(path.s), exploration.hiddenVertexCount());
}

void KNPlotViewPathFeed::explorationDidPause(std::int64_t, std::int64_t) {
    // A picture still being drawn in slices is finished first: starting it again after every
    // slice of work would never show the paths beyond its first slice.
    if (view != nullptr && !view->isDrawing()) {
        view->requestRedraw();
    }
}

void KNPlotViewPathFeed::explorationDidFinishRecomputation() {
    if (view != nullptr) {
        view->requestRedraw();
    }
}
