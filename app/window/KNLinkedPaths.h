#pragma once

#include "PathFocus.h"

#include <QObject>
#include <QString>
#include <optional>

class KNFindingsPresenter;
class KNPlotView;
class KNStatusReporter;
class KNTimeSeriesPresenter;
class KNTimeSeriesView;
class Seed;

namespace kinora {
class Exploration;
}

// Links the paths of the plot view and the time-series panel: the path under the pointer in
// either is highlighted in both and named in the status bar, and a path clicked in either is
// soloed in both until Escape or a click on empty space. The focus itself is the exploration's
// (kinora::PathFocus); the plot view's seeds are the exploration's, in the same order.
class KNLinkedPaths : public QObject {
public:
    KNLinkedPaths(kinora::Exploration& exploration, KNPlotView& plotView, KNTimeSeriesView& panel,
                  KNTimeSeriesPresenter& timeSeries, KNFindingsPresenter& findings,
                  KNStatusReporter* status, QObject* parent);
    ~KNLinkedPaths() override;

    // Escape: shows every path again; false, changing nothing, when none is soloed.
    bool restore();
    // The status bar's text for the hovered path, empty for none.
    QString hoverText() const;

private:
    std::optional<kinora::EvolutionRef> pathOf(const Seed* seed, int evolution) const;
    // The selected seed's evolution, as the panel shows it.
    std::optional<kinora::EvolutionRef> selectedSeedPath(int evolution) const;
    // The plot view's scene index of path, -1 for none.
    int pathID(const std::optional<kinora::EvolutionRef>& path) const;
    // The focus onto both views and the status bar, once the change at hand is complete: a
    // removed seed leaves the exploration before the plot view, or the other way round.
    void showLater();
    void show();
    // The hovered path's text, as the findings about it come and go.
    void showHoverText();

    kinora::Exploration& exploration;
    KNPlotView& plotView;
    KNTimeSeriesView& panel;
    KNTimeSeriesPresenter& timeSeries;
    KNFindingsPresenter& findings;
    KNStatusReporter* status;
    bool showPending = false;
};
