#include "KNTimeSeriesView.h"

#include <QMouseEvent>
#include <QWheelEvent>
#include <memory>

KNTimeSeriesView::KNTimeSeriesView(QWindow* parent)
    : KNOpenGLView(std::make_unique<KNTimeSeriesPicture>(), parent),
      timeSeries(static_cast<KNTimeSeriesPicture&>(scenePicture())) {}

KNTimeSeriesView::~KNTimeSeriesView() {
    attachContextForTeardown();
}

void KNTimeSeriesView::setTraceHandlers(TraceHandler hovered, TraceHandler clicked) {
    traceHovered = std::move(hovered);
    traceClicked = std::move(clicked);
}

void KNTimeSeriesView::setTraceFocus(int highlighted, int soloed) {
    timeSeries.setTraceFocus(highlighted, soloed);
    requestRedraw();
}

void KNTimeSeriesView::showTraces(const std::vector<Trace>& traces,
                                  const kinora::BoundingBox& bounds, double step, double duration) {
    if (timeSeries.showTraces(traces, bounds, step, duration)) {
        hoveredTrace = -1;
    }
    requestRedraw();
}

void KNTimeSeriesView::setTimeFraction(double fraction) {
    timeSeries.setTimeFraction(fraction);
    requestRedraw();
}

void KNTimeSeriesView::showNoSeed() {
    timeSeries.showNoSeed();
    hoveredTrace = -1;
    requestRedraw();
}

kinora::TimeSeriesLayout KNTimeSeriesView::layout(double width, double height) const {
    return timeSeries.layout(width, height);
}

void KNTimeSeriesView::drawPickImage() {
    timeSeries.drawPickImage(*framebuffer, devicePixelRatio());
}

int KNTimeSeriesView::traceUnder(QPointF locationInView) {
    return timeSeries.traceOf(renderableUnder(locationInView));
}

void KNTimeSeriesView::mouseHovered(std::optional<QPointF> locationInView) {
    const int trace = locationInView && timeSeries.isSetUp() ? traceUnder(*locationInView) : -1;
    if (trace == hoveredTrace) {
        return;
    }
    hoveredTrace = trace;
    if (traceHovered) {
        traceHovered(trace);
    }
}

void KNTimeSeriesView::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton && timeSeries.isSetUp() && traceClicked) {
        traceClicked(traceUnder(QPointF(event->position().x(), height() - event->position().y())));
    }
}

void KNTimeSeriesView::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (event->buttons() == Qt::NoButton) {
        hoverLater(QPointF(event->position().x(), height() - event->position().y()));
    }
}

void KNTimeSeriesView::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

void KNTimeSeriesView::wheelEvent(QWheelEvent* event) {
    event->accept();
}
