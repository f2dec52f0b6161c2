#pragma once

#include "KNOpenGLView.h"

#include <memory>

class KNParameterSpaceViewDelegate;

// The sweep of up to three parameters: a start handle at the start values, an end handle at the
// end values, the line between them and, from each handle, three lines down to the coordinate
// planes. A handle's coordinate on an axis is the parameter value itself. Axes: 0 x, 1 y, 2 z.
class KNParameterSpaceView : public KNOpenGLView {
public:
    explicit KNParameterSpaceView(QWindow* parent = nullptr);
    ~KNParameterSpaceView() override;

    // Base set-up, then both handles at the origin, the line and the connectors (empty).
    void awakeFromNib() override;

    // Rebuilds the line and the connectors from the handle positions. No redraw.
    void updatePath();
    // Stores value unchanged as the start (end) handle's coordinate on axis; any other axis
    // changes nothing. Rebuilds the lines in every case; no redraw, no delegate call.
    void setStartValue(double value, int axis);
    void setEndValue(double value, int axis);
    // The start (end) handle's coordinate on axis, 0.0 for any other axis.
    double minValueForAxis(int axis) const;
    double maxValueForAxis(int axis) const;
    // The names of the parameters the axes show, x, y, z; an empty name for an axis that shows
    // none. Named axes are labelled, and the handles show their values on them.
    void setAxisNames(const std::array<QString, 3>& names);

    // Non-owning: messages are dropped once the delegate is gone.
    std::shared_ptr<KNParameterSpaceViewDelegate> delegate() const;
    void setDelegate(std::weak_ptr<KNParameterSpaceViewDelegate> delegate);

protected:
    void renderableDraggedFromPointToPoint(kinora::Renderable* r, QPointF from,
                                           QPointF to) override;
    bool isSelectable(kinora::Renderable* r) const override;
    // The named axes, and beside each handle its values on them.
    std::vector<KNLabel> labels(QSizeF picture) const override;

    std::unique_ptr<kinora::Mesh> handleMesh;
    std::unique_ptr<kinora::Mesh> pathMesh;
    std::unique_ptr<kinora::Mesh> axesConnectorMesh;
    std::unique_ptr<kinora::Renderable> minHandle;
    std::unique_ptr<kinora::Renderable> maxHandle;
    std::unique_ptr<kinora::Renderable> path;
    std::unique_ptr<kinora::Renderable> axesConnectors;

private:
    std::weak_ptr<KNParameterSpaceViewDelegate> _delegate;
    std::array<QString, 3> axisNames;
};
