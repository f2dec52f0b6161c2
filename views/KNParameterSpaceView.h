#pragma once

#include "KNOpenGLView.h"
#include "KNParameterSpacePicture.h"

#include <memory>

class KNParameterSpaceViewDelegate;

// The sweep of up to three parameters (see KNParameterSpacePicture): dragging a handle changes its
// values and reports the change. A handle's coordinate on an axis is the parameter value itself.
// Axes: 0 x, 1 y, 2 z.
class KNParameterSpaceView : public KNOpenGLView {
public:
    explicit KNParameterSpaceView(QWindow* parent = nullptr);
    ~KNParameterSpaceView() override;

    // What the view shows.
    KNParameterSpacePicture& sweepPicture() { return sweep; }

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

private:
    KNParameterSpacePicture& sweep;
    std::weak_ptr<KNParameterSpaceViewDelegate> _delegate;
};
