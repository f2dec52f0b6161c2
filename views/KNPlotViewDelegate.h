#pragma once

class KNPlotView;
class Seed;

// What the plot view tells its controller. All calls come on the main thread.
class KNPlotViewDelegate {
public:
    virtual ~KNPlotViewDelegate() = default;

    // After each drag event that moved the seed, once its new position is stored.
    virtual void plotViewSeedWasMoved(KNPlotView* view, Seed* seed) = 0;
    // A click has selected a seed; the int carries no information (always 0).
    virtual void plotViewSeedWasSelected(KNPlotView* view, int unused) = 0;
    // Every click, before any new selection, and after removeSelectedSeed (always 0).
    virtual void plotViewSeedWasDeselected(KNPlotView* view, int unused) = 0;
};
