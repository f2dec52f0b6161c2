#pragma once

#include <cstddef>
#include <optional>

class KNPlotView;
class KNTimeSeriesView;
class Seed;

namespace kinora {
class Exploration;
}

// Keeps the time-series panel on the plot view's selected seed: its paths (the plot view's own
// buffers), the range they cover, and the step and duration they were computed with. The plot
// view's seeds are the exploration's, in the same order.
class KNTimeSeriesPresenter {
public:
    KNTimeSeriesPresenter(const kinora::Exploration& exploration, KNPlotView& plotView,
                          KNTimeSeriesView& panel);

    // The panel shows the selected seed, or says how to get one.
    void showSelectedSeed();
    // The panel highlights and solos the exploration's hovered and soloed paths where they are
    // the selected seed's.
    void showFocus();
    // The paths of seed changed: shown again when it is the selected one.
    void seedPathsDidChange(const Seed* seed);
    // For a seed about to go: the panel lets go of its paths at once.
    void showNoSeed();

private:
    // The selected seed's place in the exploration's list, or none.
    std::optional<std::size_t> selectedIndex() const;

    const kinora::Exploration& exploration;
    KNPlotView& plotView;
    KNTimeSeriesView& panel;
};
