#pragma once

#include "KNPlotView.h"

#include <QObject>
#include <memory>

class KNFindingsPanel;
class KNFindingsPresenter;
class QAction;
class QMainWindow;
class QMenu;

namespace kinora {
class Exploration;
}

// The findings' part of a plot window: their panel docked on the window (hidden at first), the
// View menu's items that show it and choose how the paths are coloured, and the presenter behind
// them.
class KNFindingsControls {
public:
    KNFindingsControls(QMainWindow& window, QMenu& viewMenu, kinora::Exploration& exploration,
                       KNPlotView& view);
    ~KNFindingsControls();
    KNFindingsControls(const KNFindingsControls&) = delete;
    KNFindingsControls& operator=(const KNFindingsControls&) = delete;

    KNFindingsPresenter& presenter() { return *_presenter; }
    KNFindingsPanel* panel() const { return _panel; }
    QAction* panelAction() const;
    QAction* colourBySweepAction() const { return bySweep; }
    QAction* colourByExponentAction() const { return byExponent; }

    // What sessions keep: whether the panel is shown and how the paths are coloured.
    bool isPanelShown() const;
    void setPanelShown(bool shown);
    KNPlotView::PathColouring pathColouring() const;
    void setPathColouring(KNPlotView::PathColouring colouring);

private:
    // Owned by the window.
    KNFindingsPanel* _panel;
    QAction* bySweep;
    QAction* byExponent;
    std::unique_ptr<KNFindingsPresenter> _presenter;
    // Context of the connections, so none outlives the controls.
    QObject connections;
};
