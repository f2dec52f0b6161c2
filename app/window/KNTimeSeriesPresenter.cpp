#include "KNTimeSeriesPresenter.h"

#include "Exploration.h"
#include "KNPlotView.h"
#include "KNTimeSeriesView.h"
#include "Path.h"
#include "Seed.h"

KNTimeSeriesPresenter::KNTimeSeriesPresenter(const kinora::Exploration& exploration,
                                             KNPlotView& plotView, KNTimeSeriesView& panel)
    : exploration(exploration), plotView(plotView), panel(panel) {}

void KNTimeSeriesPresenter::showSelectedSeed() {
    const Seed* selected = plotView.selectedSeed();
    std::size_t index = 0;
    std::size_t selectedIndex = exploration.seedCount();
    plotView.enumerateSeedsWithBlock([&](Seed* seed) {
        if (seed == selected) {
            selectedIndex = index;
        }
        ++index;
    });
    if (selectedIndex >= exploration.seedCount()) {
        showNoSeed();
        return;
    }
    std::vector<KNTimeSeriesView::Trace> traces;
    for (const Path* path : plotView.pathsOf(selected)) {
        traces.push_back({path->mesh, path->sValue, path->firstStep});
    }
    panel.showTraces(traces, exploration.pathBounds(selectedIndex),
                     exploration.integrator().integrationStep(), exploration.pathDuration());
}

void KNTimeSeriesPresenter::seedPathsDidChange(const Seed* seed) {
    if (seed != nullptr && seed == plotView.selectedSeed()) {
        showSelectedSeed();
    }
}

void KNTimeSeriesPresenter::showNoSeed() {
    panel.showNoSeed();
}
