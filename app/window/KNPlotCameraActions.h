#pragma once

#include <QObject>

class KNPlotView;
class QAction;
class QMenu;

// View ▸ Look Along X / Y / Z and Orthographic: turn the plot view's camera and switch its
// projection, keeping the Orthographic mark on the projection the view has (a restored session
// may have set it).
class KNPlotCameraActions : public QObject {
    Q_OBJECT

public:
    struct Actions {
        QAction* lookAlongX;
        QAction* lookAlongY;
        QAction* lookAlongZ;
        QAction* orthographic;
    };

    // Connects the actions, and marks the projection whenever menu is about to show.
    KNPlotCameraActions(Actions actions, QMenu* menu, KNPlotView* view, QObject* parent);

private:
    void toggleProjection();
    void showProjection();

    Actions actions;
    KNPlotView* view;
};
