#pragma once

#include "KNOpenGLView.h"
#include "KNTimeSeriesPicture.h"

#include <functional>
#include <optional>
#include <vector>

class QMouseEvent;
class QWheelEvent;

// The time-series panel: x(t), y(t) and z(t) of every path of one seed (see
// KNTimeSeriesPicture, which an export draws without any window). Nothing in it is turned or
// dragged; its traces are picked by their ids, as the plot view picks seeds and paths.
class KNTimeSeriesView : public KNOpenGLView {
public:
    using Trace = KNTimeSeriesPicture::Trace;

    explicit KNTimeSeriesView(QWindow* parent = nullptr);
    ~KNTimeSeriesView() override;

    // See KNTimeSeriesPicture; each of these asks for a redraw.
    void showTraces(const std::vector<Trace>& traces, const kinora::BoundingBox& bounds,
                    double step, double duration);
    void setTimeFraction(double fraction);
    void setTraceFocus(int highlighted, int soloed);
    void showNoSeed();
    bool showsSeed() const { return timeSeries.showsSeed(); }
    kinora::TimeSeriesLayout layout(double width, double height) const;
    // Told the trace under the pointer whenever that changes (-1 for none), and the trace a
    // click hit (-1 for empty space); traces count from 0 in the order shown.
    using TraceHandler = std::function<void(int trace)>;
    void setTraceHandlers(TraceHandler hovered, TraceHandler clicked);

protected:
    void drawPickImage() override;
    void mouseHovered(std::optional<QPointF> locationInView) override;
    // The panel is not turned or zoomed; a click reports the trace it hit.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // The trace of the id under a point, or -1.
    int traceUnder(QPointF locationInView);

    KNTimeSeriesPicture& timeSeries;
    TraceHandler traceHovered;
    TraceHandler traceClicked;
    int hoveredTrace = -1;
};
