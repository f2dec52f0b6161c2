#pragma once

#include "BoundingBox.h"
#include "KNViewCamera.h"
#include "Transform.h"

#include <memory>
#include <optional>
#include <utility>

class KNParameterSpaceView;
class KNPlotView;
class QObject;

namespace kinora {
class Exploration;
}

// Where a window's two views look: each framed on what it shows, opened on the cameras a
// session gave (else on the fitted ones), returned to them by Reset View, and, when the paths
// took longer to compute than the window to open, framed once more on all of them.
class KNViewFraming {
public:
    using Cameras = std::pair<KNViewCamera, KNViewCamera>;

    // openingCameras: the plot view's and the parameter-space view's, when a session gave them.
    KNViewFraming(KNPlotView& plotView, KNParameterSpaceView& parameterView,
                  const kinora::Exploration& exploration, std::optional<Cameras> openingCameras);

    // The cameras a session gave, else the fitted ones.
    void placeOpeningCameras();
    // A moment after the window loads, once it is laid out: places the opening cameras again at
    // the views' real size, and remembers them for Reset View. owner stays alive until then; the
    // wait ends with context.
    void frameWhenLaidOut(QObject* context, std::shared_ptr<void> owner);
    bool isWaitingForLayout() const { return waitingForLayout; }
    // Fits the plot view again, now that the paths the opening framing missed are there, unless
    // the user has moved the scene since.
    void completeOpeningFraming();
    // The plot view on its seeds and every finite path point, the parameter-space view on both
    // handles and the origin. Redraws.
    void fitViews();
    // Both views return to their camera of when the window opened. Redraws.
    void resetViews();

private:
    void frameLaidOutViews();
    void fitPlotView();
    // The box of the two handles and the origin.
    kinora::BoundingBox handleBounds() const;

    KNPlotView& plotView;
    KNParameterSpaceView& parameterView;
    const kinora::Exploration& exploration;
    std::optional<Cameras> openingCameras;
    // The plot scene's placement from the opening framing, made while the paths were still
    // being computed (on a slow machine); empty once they are framed or the user moved it.
    std::optional<kinora::Transform> partialOpeningFraming;
    bool waitingForLayout = false;
};
