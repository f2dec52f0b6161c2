#pragma once

#include "BoundingBox.h"
#include "KNOpenGLView.h"
#include "TimeSeriesLayout.h"

#include <memory>
#include <vector>

class QMouseEvent;
class QWheelEvent;

// x(t), y(t) and z(t) of every path of one seed, as three stacked plots sharing the t axis at
// the bottom, each path coloured by its s as the plot view colours it. The traces are drawn
// from the plot view's own path buffers (every view draws with the shared context), so keeping
// the panel up to date copies nothing. Nothing in it is picked, turned or dragged.
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
    // The panel is not turned, zoomed or picked.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // The labels of a picture of the given size in points.
    std::vector<KNLabel> labelsFor(const kinora::TimeSeriesLayout& layout) const;
    // Frames, ticks and grid of the plots, as line segments in clip coordinates.
    void buildFrame(const kinora::TimeSeriesLayout& layout, double width, double height);

    std::unique_ptr<kinora::Shader> traceShader;
    std::vector<std::unique_ptr<kinora::Renderable>> traces;
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
