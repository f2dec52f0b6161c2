#pragma once

#include "BoundingBox.h"
#include "KNScenePicture.h"
#include "TimeSeriesLayout.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

// What the time-series panel shows, with no window: x(t), y(t) and z(t) of every path of one
// seed, as three stacked plots sharing the t axis at the bottom, each path coloured by its s as
// the plot view colours it. The traces are drawn from the plot picture's own path buffers (every
// picture draws with the shared context), so keeping it up to date copies nothing. No call here
// redraws anything.
class KNTimeSeriesPicture : public KNScenePicture {
public:
    // A path's mesh of 24-byte vertices (the state first), vertex i at t = (firstStep + i) step
    // (firstStep 0: vertex 0 is the seed).
    struct Trace {
        kinora::Mesh* mesh;
        float sValue;
        int firstStep;
    };

    KNTimeSeriesPicture();
    ~KNTimeSeriesPicture() override;

    // Base set-up, then the trace program and the frame's mesh.
    void setUp(kinora::Framebuffer* target) override;
    // Shows traces whose finite points lie in bounds over the times 0 ... duration. The meshes
    // must stay until the next showTraces or showNoSeed. Whether the traces are others than
    // before (their picks and any focus on one are then gone).
    bool showTraces(const std::vector<Trace>& traces, const kinora::BoundingBox& bounds,
                    double step, double duration);
    // The time cursor, as a part (0 ... 1) of the duration, shown as a vertical line unless it
    // is at the end.
    void setTimeFraction(double fraction);
    // Draws trace highlighted wider over the others, and every trace but soloed dimmed; -1 for
    // none.
    void setTraceFocus(int highlighted, int soloed);
    // Shows how to get a seed instead.
    void showNoSeed();
    bool showsSeed() const { return hasSeed; }
    // Where the plots sit in a picture of the given size in points.
    kinora::TimeSeriesLayout layout(double width, double height) const;
    // The trace (counted from 0 in the order shown) whose id pick is, or -1.
    int traceOf(const kinora::Renderable* pick) const;

    bool drawPicture(kinora::Framebuffer& target, kinora::ScenePass& pass,
                     kinora::ScenePass::Clock::time_point deadline) override;
    void drawOverlay(kinora::Framebuffer& target, double pixelsPerPoint) override;
    // The traces' ids into the pick image of target, lines pixelsPerPoint wide.
    void drawPickImage(kinora::Framebuffer& target, double pixelsPerPoint);

private:
    // The labels of a picture of the given size in points.
    std::vector<KNLabel> labelsFor(const kinora::TimeSeriesLayout& layout) const;
    // Frames, ticks and grid of the plots, as line segments in clip coordinates.
    void buildFrame(const kinora::TimeSeriesLayout& layout, double width, double height);
    // Sets program's time and value maps for each plot of a picture of target's size in turn,
    // limited to that plot, and calls drawTrace with each trace's index.
    void drawEachTrace(kinora::Shader& program, const kinora::Framebuffer& target,
                       const std::function<void(std::size_t)>& drawTrace) const;
    // Forgets every trace, its pick and any focus on one.
    void dropTraces();

    std::unique_ptr<kinora::Shader> traceShader;
    // The traces with the id program; in the scene, so their ids are scene indices.
    std::unique_ptr<kinora::Shader> traceIDShader;
    std::vector<std::unique_ptr<kinora::Renderable>> traces;
    std::vector<std::unique_ptr<kinora::Renderable>> tracePicks;
    std::vector<int> tracePickIDs;
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
