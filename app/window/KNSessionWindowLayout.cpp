#include "KNSessionWindowLayout.h"

#include "KNAnalysisPanels.h"
#include "KNFindingsControls.h"
#include "KNParameterSpaceView.h"
#include "KNPlotView.h"
#include "KNPlotWindow.h"
#include "KNPlotWindowController.h"
#include "KNSession.h"

#include <QScreen>

void KNSessionWindowLayout::restore(KNPlotWindowController& controller, const KNSession& session) {
    controller.setOpeningCameras(session.plotCamera, session.parameterCamera);
    // Within the screen it opens on: a size saved on a larger screen, or written by hand, would
    // have the platform allocate buffers of that size, gigabytes for the largest.
    KNPlotWindow* window = controller.window();
    const QSize screen = window->screen()->availableGeometry().size();
    window->resize(QSize(session.windowWidth, session.windowHeight).boundedTo(screen));
    window->setTimeSeriesShown(session.timeSeriesShown);
    // The window's layout sizes the views once it is shown; until then they take the sizes they
    // were saved at.
    controller.plotView()->resize(
        QSize(session.plotCamera.width, session.plotCamera.height).boundedTo(screen));
    controller.parameterView()->resize(
        QSize(session.parameterCamera.width, session.parameterCamera.height).boundedTo(screen));
    controller.findings()->setPanelShown(session.findingsPanelShown);
    controller.findings()->setPathColouring(session.pathColours ==
                                                    KNSession::PathColours::byExponent
                                                ? KNPlotView::PathColouring::byExponent
                                                : KNPlotView::PathColouring::bySweep);
    // The reader has checked the settings.
    controller.analysisPanels()->apply(session.analysis);
}
