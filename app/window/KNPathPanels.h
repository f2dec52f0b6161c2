#pragma once

#include "KNAnalysisPanels.h"
#include "KNFindingsControls.h"
#include "KNTimeSeriesPresenter.h"

#include <cstddef>
#include <functional>

class KNPlotWindow;
class KNTimeCursorControls;
class QObject;

namespace kinora {
class Exploration;
}

// What a plot window shows of its paths besides the plot view: the time-series panel with the
// time cursor, the findings, and the section and orbit-diagram panels.
class KNPathPanels {
public:
    // The window's plot view and the exploration must outlive this; the time cursor's
    // connections live as long as context. recomputeAll recomputes every seed's paths, as a
    // change of the sweep does.
    KNPathPanels(KNPlotWindow& window, kinora::Exploration& exploration, QObject* context,
                 std::function<void()> recomputeAll);

    KNTimeSeriesPresenter& timeSeries() { return _timeSeries; }
    KNFindingsControls& findings() { return _findings; }
    KNTimeCursorControls* timeCursor() const { return _timeCursor; }
    KNAnalysisPanels& analysis() { return _analysis; }

    void pathsWillChange();
    void pathsDidSettle();
    // The seed at index is gone, with its paths.
    void seedRemoved(std::size_t index);

private:
    KNTimeSeriesPresenter _timeSeries;
    KNFindingsControls _findings;
    // A child of the context.
    KNTimeCursorControls* _timeCursor;
    KNAnalysisPanels _analysis;
};
