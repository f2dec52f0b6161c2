#include "KNPlotCameraActions.h"

#include "KNPlotView.h"

#include <QAction>
#include <QMenu>

KNPlotCameraActions::KNPlotCameraActions(Actions actions, QMenu* menu, KNPlotView* view,
                                         QObject* parent)
    : QObject(parent), actions(actions), view(view) {
    const std::pair<QAction*, kinora::ViewAxis> turns[] = {
        {actions.lookAlongX, kinora::ViewAxis::x},
        {actions.lookAlongY, kinora::ViewAxis::y},
        {actions.lookAlongZ, kinora::ViewAxis::z},
    };
    for (const auto& [action, axis] : turns) {
        connect(action, &QAction::triggered, this, [this, axis = axis] {
            this->view->lookAlong(axis);
            this->view->requestRedraw();
        });
    }
    connect(actions.orthographic, &QAction::triggered, this, [this] { toggleProjection(); });
    connect(menu, &QMenu::aboutToShow, this, [this] { showProjection(); });
    showProjection();
}

void KNPlotCameraActions::toggleProjection() {
    // From the view's projection, not the action's mark, which may be stale after a session
    // set the camera.
    view->setProjection(view->projection() == kinora::Camera::Projection::perspective
                            ? kinora::Camera::Projection::orthographic
                            : kinora::Camera::Projection::perspective);
    showProjection();
    view->requestRedraw();
}

void KNPlotCameraActions::showProjection() {
    actions.orthographic->setChecked(view->projection() ==
                                     kinora::Camera::Projection::orthographic);
}
