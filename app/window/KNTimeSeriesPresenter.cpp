#include "KNTimeSeriesPresenter.h"

#include "Exploration.h"
#include "KNPlotView.h"
#include "KNTimeSeriesView.h"
#include "Path.h"
#include "Seed.h"

KNTimeSeriesPresenter::KNTimeSeriesPresenter(const kinora::Exploration& exploration,
                                             KNPlotView& plotView, KNTimeSeriesView& panel)
    : exploration(exploration), plotView(plotView), panel(panel) {}

std::optional<std::size_t> KNTimeSeriesPresenter::selectedIndex() const {
    const Seed* selected = plotView.selectedSeed();
    std::size_t index = 0;
    std::optional<std::size_t> found;
    plotView.enumerateSeedsWithBlock([&](Seed* seed) {
        if (seed == selected) {
            found = index;
        }
        ++index;
    });
    if (found && *found >= exploration.seedCount()) {
        return std::nullopt;
    }
    return found;
}

void KNTimeSeriesPresenter::showSelectedSeed() {
    const std::optional<std::size_t> index = selectedIndex();
    if (!index) {
        showNoSeed();
        return;
    }
    std::vector<KNTimeSeriesView::Trace> traces;
    for (const Path* path : plotView.pathsOf(plotView.selectedSeed())) {
        traces.push_back({path->mesh, path->sValue, path->firstStep});
    }
    panel.showTraces(traces, exploration.pathBounds(*index),
                     exploration.integrator().integrationStep(), exploration.pathDuration());
    showFocus();
}

void KNTimeSeriesPresenter::showFocus() {
    const std::optional<std::size_t> index = selectedIndex();
    const auto evolutionOn = [&](const std::optional<kinora::EvolutionRef>& path) {
        return index && path && path->seed == *index ? path->evolution : -1;
    };
    const kinora::PathFocus& focus = exploration.pathFocus();
    panel.setTraceFocus(evolutionOn(focus.hovered()), evolutionOn(focus.soloed()));
}

void KNTimeSeriesPresenter::seedPathsDidChange(const Seed* seed) {
    if (seed != nullptr && seed == plotView.selectedSeed()) {
        showSelectedSeed();
    }
}

void KNTimeSeriesPresenter::showNoSeed() {
    panel.showNoSeed();
}
