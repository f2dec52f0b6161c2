#include "KNViewFraming.h"

#include "Exploration.h"
#include "KNParameterSpaceView.h"
#include "KNPlotView.h"

#include <QTimer>
#include <algorithm>
#include <iterator>

namespace {

// Long enough for the window to be laid out, so the views draw at their real size.
constexpr int layoutDelayMilliseconds = 200;

} // namespace

KNViewFraming::KNViewFraming(KNPlotView& plotView, KNParameterSpaceView& parameterView,
                             const kinora::Exploration& exploration,
                             std::optional<Cameras> openingCameras)
    : plotView(plotView), parameterView(parameterView), exploration(exploration),
      openingCameras(std::move(openingCameras)) {}

void KNViewFraming::placeOpeningCameras() {
    if (!openingCameras) {
        fitViews();
        return;
    }
    plotView.setViewCamera(openingCameras->first);
    parameterView.setViewCamera(openingCameras->second);
    plotView.requestRedraw();
    parameterView.requestRedraw();
}

void KNViewFraming::frameWhenLaidOut(QObject* context, std::shared_ptr<void> owner) {
    waitingForLayout = true;
    QTimer::singleShot(layoutDelayMilliseconds, context, [this, owner = std::move(owner)] {
        waitingForLayout = false;
        frameLaidOutViews();
    });
}

void KNViewFraming::frameLaidOutViews() {
    plotView.update();
    parameterView.update();
    placeOpeningCameras();
    plotView.rememberOpeningCamera();
    parameterView.rememberOpeningCamera();
    // A window opens framed on all its paths, however long they take to compute.
    if (!openingCameras && exploration.isRecomputing()) {
        partialOpeningFraming = plotView.viewCamera().sceneTransform;
    }
}

void KNViewFraming::completeOpeningFraming() {
    if (!partialOpeningFraming) {
        return;
    }
    const kinora::Matrix4 framed = partialOpeningFraming->modelMatrix();
    const kinora::Matrix4 now = plotView.viewCamera().sceneTransform.modelMatrix();
    partialOpeningFraming.reset();
    if (std::equal(std::begin(framed.m), std::end(framed.m), std::begin(now.m))) {
        fitPlotView();
        plotView.rememberOpeningCamera();
    }
}

void KNViewFraming::fitViews() {
    fitPlotView();
    // Room for the values written beside the handles.
    parameterView.frameBox(handleBounds(), 1.0);
    parameterView.requestRedraw();
}

void KNViewFraming::fitPlotView() {
    plotView.frameBox(exploration.plotBounds(), 0.1);
    plotView.requestRedraw();
}

void KNViewFraming::resetViews() {
    plotView.resetView();
    parameterView.resetView();
    plotView.requestRedraw();
    parameterView.requestRedraw();
}

kinora::BoundingBox KNViewFraming::handleBounds() const {
    kinora::BoundingBox box;
    // The origin too: the axes cross there and the handles' lines drop onto its planes.
    box.add({0.0, 0.0, 0.0});
    box.add({parameterView.minValueForAxis(0), parameterView.minValueForAxis(1),
             parameterView.minValueForAxis(2)});
    box.add({parameterView.maxValueForAxis(0), parameterView.maxValueForAxis(1),
             parameterView.maxValueForAxis(2)});
    return box;
}
