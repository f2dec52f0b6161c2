#pragma once

#include "BoundingBox.h"
#include "KNOpenGLView.h"
#include "TimeSeriesLayout.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QMouseEvent;
class QWheelEvent;

// x(t), y(t) and z(t) of every path of one seed, as three stacked plots sharing the t axis at
// the bottom, each path coloured by its s as the plot view colours it. The traces are drawn
// from the plot view's own path buffers (every view draws with the shared context), so keeping
// the panel up to date copies nothing. Nothing in it is turned or dragged; its traces are picked
// by their ids, as the plot view picks seeds and paths.
class KNTimeSeriesView : public KNOpenGLView {
public:
    // A path's mesh of 24-byte vertices (the state first), vertex i at t = (firstStep + i) step
    // (firstStep 0: vertex 0 is the seed).
    struct Trace {
        kinora::Mesh* mesh;
        float sValue;
        int firstStep;
    };

    explicit KNTimeSeriesView(QWindow* parent = nullptr);
    ~KNTimeSeriesView() override;

    // Base set-up, then the trace program and the frame's mesh.
    void awakeFromNib() override;
    // Shows traces whose finite points lie in bounds over the times 0 ... duration. The meshes
    // must stay until the next showTraces or showNoSeed. Asks for a redraw.
    void showTraces(const std::vector<Trace>& traces, const kinora::BoundingBox& bounds,
                    double step, double duration);
    // The time cursor, as a part (0 ... 1) of the duration, shown as a vertical line unless it
    // is at the end. Asks for a redraw.
    void setTimeFraction(double fraction);
    // Told the trace under the pointer whenever that changes (-1 for none), and the trace a
    // click hit (-1 for empty space); traces count from 0 in the order shown.
    using TraceHandler = std::function<void(int trace)>;
    void setTraceHandlers(TraceHandler hovered, TraceHandler clicked);
    // Draws trace highlighted wider over the others, and every trace but soloed dimmed; -1 for
    // none. Asks for a redraw.
    void setTraceFocus(int highlighted, int soloed);
    // Shows how to get a seed instead. Asks for a redraw.
    void showNoSeed();
    bool showsSeed() const { return hasSeed; }
    // Where the plots sit in a picture of the given size in points.
    kinora::TimeSeriesLayout layout(double width, double height) const;

    // What the picture says while no seed is selected.
    static const QString noSeedText;

protected:
    bool drawPicture(kinora::Framebuffer& target, kinora::ScenePass& pass,
                     kinora::ScenePass::Clock::time_point deadline) override;
    void drawOverlay(kinora::Framebuffer& target, double pixelsPerPoint) override;
    void drawPickImage() override;
    void mouseHovered(std::optional<QPointF> locationInView) override;
    // The panel is not turned or zoomed; a click reports the trace it hit.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // The labels of a picture of the given size in points.
    std::vector<KNLabel> labelsFor(const kinora::TimeSeriesLayout& layout) const;
    // Frames, ticks and grid of the plots, as line segments in clip coordinates.
    void buildFrame(const kinora::TimeSeriesLayout& layout, double width, double height);
    // Sets program's time and value maps for each plot of a picture of target's size in turn,
    // limited to that plot, and calls drawTrace with each trace's index.
    void drawEachTrace(kinora::Shader& program, const kinora::Framebuffer& target,
                       const std::function<void(std::size_t)>& drawTrace) const;
    // The trace of the id under a point, or -1.
    int traceUnder(QPointF locationInView);
    // Forgets every trace, its pick and any focus on one.
    void dropTraces();

    std::unique_ptr<kinora::Shader> traceShader;
    // The traces with the id program; in the scene, so their ids are scene indices.
    std::unique_ptr<kinora::Shader> traceIDShader;
    std::vector<std::unique_ptr<kinora::Renderable>> traces;
    std::vector<std::unique_ptr<kinora::Renderable>> tracePicks;
    std::vector<int> tracePickIDs;
    TraceHandler traceHovered;
    TraceHandler traceClicked;
    int hoveredTrace = -1;
    int highlightedTrace = -1;
    int soloedTrace = -1;
    std::vector<float> traceValues;
    std::vector<int> traceFirstSteps;
    std::unique_ptr<kinora::Mesh> frameMesh;
    std::unique_ptr<kinora::Renderable> frame;
    kinora::BoundingBox bounds;
    double step = 0.0;
    double duration = 0.0;
    double timeFraction = 1.0;
    bool hasSeed = false;
};
