#pragma once

#include "FindingsComputation.h"
#include "KNPlotView.h"

#include <QObject>
#include <functional>
#include <memory>
#include <optional>

class KNFindingsPanel;

namespace kinora {
class Exploration;
}

// Shows what the analysis finds about a window's paths: the equilibria as markers in the plot
// view (coloured by s, shaped by class) and in the findings panel, and the largest exponents in
// the panel and, when the paths are coloured by exponent, as the paths' colours with their key.
// The analysis runs on a thread of its own while the panel is shown or the paths are coloured by
// exponent, again whenever the paths settle after a change; from the moment they change until
// their findings are in, nothing of the old findings is shown. Main thread only.
class KNFindingsPresenter {
public:
    KNFindingsPresenter(kinora::Exploration& exploration, KNPlotView& view, KNFindingsPanel& panel,
                        kinora::JacobianFunction jacobian);
    ~KNFindingsPresenter();
    KNFindingsPresenter(const KNFindingsPresenter&) = delete;
    KNFindingsPresenter& operator=(const KNFindingsPresenter&) = delete;

    // The paths are changing: the findings shown so far are withdrawn.
    void pathsWillChange();
    // The paths are complete: their findings are computed anew, when wanted.
    void pathsDidSettle();

    void setPanelShown(bool shown);
    void setPathColouring(KNPlotView::PathColouring colouring);
    // The findings shown, for the paths as they are; nothing while they are withdrawn.
    const std::optional<kinora::ExplorationFindings>& findings() const { return shown; }
    // Told whenever the findings shown come or go.
    void setFindingsHandler(std::function<void()> handler) { findingsChanged = std::move(handler); }

private:
    bool isWanted() const;
    // Takes what the analysis has found and shows it.
    void deliver();
    void showMarkers();
    void showExponentColours();
    void withdraw();

    kinora::Exploration& exploration;
    KNPlotView& view;
    KNFindingsPanel& panel;
    const kinora::JacobianFunction jacobian;
    bool panelShown = false;
    std::optional<kinora::ExplorationFindings> shown;
    std::function<void()> findingsChanged;
    // The receiver of the analysis thread's news; declared before the computation, so it goes
    // after the thread has stopped.
    QObject context;
    std::unique_ptr<kinora::FindingsComputation> computation;
};
