#include "KNPathPanels.h"

#include "KNFindingsPresenter.h"
#include "KNPlotWindow.h"
#include "KNTimeCursorControls.h"

#include <utility>

KNPathPanels::KNPathPanels(KNPlotWindow& window, kinora::Exploration& exploration, QObject* context,
                           std::function<void()> recomputeAll)
    : _timeSeries(exploration, *window.plotView(), *window.timeSeriesView()),
      _findings(window, *window.ui().viewMenu, exploration, *window.plotView()),
      _timeCursor(new KNTimeCursorControls(exploration, *window.plotView(),
                                           *window.timeSeriesView(), window.ui().toolBar,
                                           window.ui().viewMenu, context)),
      _analysis(window, exploration, std::move(recomputeAll)) {}

void KNPathPanels::pathsWillChange() {
    _findings.presenter().pathsWillChange();
}

void KNPathPanels::pathsDidSettle() {
    _findings.presenter().pathsDidSettle();
}

void KNPathPanels::seedRemoved(std::size_t index) {
    pathsDidSettle();
    _analysis.seedRemoved(index);
}
