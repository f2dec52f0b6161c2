#include "KNParameterSpaceView.h"

#include "KNParameterSpaceViewDelegate.h"

#include <memory>

KNParameterSpaceView::KNParameterSpaceView(QWindow* parent)
    : KNOpenGLView(std::make_unique<KNParameterSpacePicture>(), parent),
      sweep(static_cast<KNParameterSpacePicture&>(scenePicture())) {}

KNParameterSpaceView::~KNParameterSpaceView() {
    attachContextForTeardown();
}

void KNParameterSpaceView::updatePath() {
    sweep.updatePath();
}

void KNParameterSpaceView::setStartValue(double value, int axis) {
    sweep.setStartValue(value, axis);
}

void KNParameterSpaceView::setEndValue(double value, int axis) {
    sweep.setEndValue(value, axis);
}

double KNParameterSpaceView::minValueForAxis(int axis) const {
    return sweep.minValueForAxis(axis);
}

double KNParameterSpaceView::maxValueForAxis(int axis) const {
    return sweep.maxValueForAxis(axis);
}

void KNParameterSpaceView::setAxisNames(const std::array<QString, 3>& names) {
    sweep.setAxisNames(names);
}

std::shared_ptr<KNParameterSpaceViewDelegate> KNParameterSpaceView::delegate() const {
    return _delegate.lock();
}

void KNParameterSpaceView::setDelegate(std::weak_ptr<KNParameterSpaceViewDelegate> delegate) {
    _delegate = std::move(delegate);
}

void KNParameterSpaceView::renderableDraggedFromPointToPoint(kinora::Renderable* r, QPointF from,
                                                             QPointF to) {
    KNOpenGLView::renderableDraggedFromPointToPoint(r, from, to);
    sweep.updatePath();
    if (auto receiver = delegate()) {
        receiver->parameterSpaceViewBoundsDidChange(this);
    }
}

bool KNParameterSpaceView::isSelectable(kinora::Renderable* r) const {
    return sweep.isHandle(r);
}
