#include "KNFindingsPresenter.h"

#include "Exploration.h"
#include "KNAnalysisInPlotView.h"
#include "KNFanWorkerTools.h"
#include "KNFindingsPanel.h"

#include <QMetaObject>

KNFindingsPresenter::KNFindingsPresenter(kinora::Exploration& exploration, KNPlotView& view,
                                         KNFindingsPanel& panel, kinora::JacobianFunction jacobian)
    : exploration(exploration), view(view), panel(panel), jacobian(jacobian) {}

KNFindingsPresenter::~KNFindingsPresenter() = default;

bool KNFindingsPresenter::isWanted() const {
    return panelShown || view.pathColouring() == KNPlotView::PathColouring::byExponent;
}

void KNFindingsPresenter::setPanelShown(bool show) {
    if (show == panelShown) {
        return;
    }
    panelShown = show;
    showMarkers();
    view.requestRedraw();
    if (show && !shown) {
        pathsDidSettle();
    }
}

void KNFindingsPresenter::setPathColouring(KNPlotView::PathColouring colouring) {
    view.setPathColouring(colouring);
    showExponentColours();
    view.requestRedraw();
    if (isWanted() && !shown) {
        pathsDidSettle();
    }
}

void KNFindingsPresenter::pathsWillChange() {
    if (computation) {
        computation->cancel();
    }
    withdraw();
}

void KNFindingsPresenter::withdraw() {
    const bool wasShown = shown.has_value();
    shown.reset();
    if (wasShown && findingsChanged) {
        findingsChanged();
    }
    panel.showPending(QObject::tr("Waiting for the paths to be computed…"));
    showMarkers();
    showExponentColours();
}

void KNFindingsPresenter::pathsDidSettle() {
    withdraw();
    if (!isWanted() || exploration.isRecomputing()) {
        return;
    }
    if (!computation) {
        computation = std::make_unique<kinora::FindingsComputation>(
            fanWorkerTools(exploration.system().evolution, exploration.system().parameterCount(),
                           exploration.scriptText()),
            jacobian, [this] {
                QMetaObject::invokeMethod(
                    &context, [this] { deliver(); }, Qt::QueuedConnection);
            });
    }
    panel.showPending(QObject::tr("Computing the equilibria…"));
    computation->request(exploration.trajectorySnapshot());
}

void KNFindingsPresenter::deliver() {
    std::optional<kinora::ExplorationFindings> findings = computation->take();
    if (!findings) {
        return;
    }
    shown = std::move(findings);
    if (findingsChanged) {
        findingsChanged();
    }
    panel.showFindings(*shown);
    showMarkers();
    showExponentColours();
    view.requestRedraw();
}

void KNFindingsPresenter::showMarkers() {
    showEquilibriumMarkers(view.plotPicture(), panelShown && shown ? &*shown : nullptr);
}

void KNFindingsPresenter::showExponentColours() {
    ::showExponentColours(view.plotPicture(), shown ? &*shown : nullptr);
}
