#pragma once

#include "ExplorationListener.h"

class KNOpenGLView;
class KNPlotPicture;
class Seed;

namespace kinora {
class Exploration;
}

// Hands an exploration's paths to a plot picture whose seeds are the exploration's, in the same
// order: each path as soon as it is final, the paths beyond a fan's evolutions and those of a
// deferred fan blank, and a redraw of the view showing it (if any) once the work pauses or ends.
// Nothing else is shown.
class KNPlotViewPathFeed final : public kinora::ExplorationListener {
public:
    // view shows picture in a window; null for a picture no window shows.
    KNPlotViewPathFeed(const kinora::Exploration& exploration, KNPlotPicture& picture,
                       KNOpenGLView* view = nullptr);

    void explorationDidBeginRecomputation() override {}
    void explorationDidStartFan(std::size_t seedIndex, std::int32_t evolutions) override;
    void explorationDidCompletePath(std::size_t seedIndex, std::int32_t evolution,
                                    const kinora::SeedFan& fan) override;
    void explorationDidIntegrate(std::chrono::steady_clock::duration) override {}
    void explorationDidDeferFan(std::size_t seedIndex) override;
    void explorationDidPause(std::int64_t donePaths, std::int64_t totalPaths) override;
    void explorationDidStopRecomputation(std::int64_t, std::int64_t) override {}
    void explorationDidFinishRecomputation() override;

    // The picture's seed at seedIndex.
    Seed* seedAt(std::size_t seedIndex);

private:
    // Blanks paths first ... end - 1 of seed.
    void blankPaths(Seed* seed, std::size_t first, std::size_t end);

    const kinora::Exploration& exploration;
    KNPlotPicture& picture;
    KNOpenGLView* view;
    // The picture's seed of the fan being computed.
    Seed* fanSeed = nullptr;
};
