#pragma once

#include "KNOpenGLView.h"
#include "KNParameterSpaceView.h"
#include "KNParameterSpaceViewDelegate.h"
#include "KNPlotView.h"
#include "KNPlotViewDelegate.h"
#include "Renderable.h"
#include "Scene.h"
#include "Vector3.h"

#include <QImage>
#include <QPoint>
#include <memory>
#include <string>
#include <vector>

// The views with their protected state, and their pictures' parts, opened up for inspection.
template <class View> class InspectableView : public View {
public:
    using KNOpenGLView::displayTexture;
    using KNOpenGLView::framebuffer;
    using KNOpenGLView::pickTexture;
    using KNOpenGLView::selected;
    using KNOpenGLView::windowContext;

    std::unique_ptr<kinora::Scene>& scene = this->scenePicture().scene;
    std::unique_ptr<kinora::Renderable>& axes = this->scenePicture().axes;
    std::unique_ptr<kinora::Shader>& colorRampShader = this->scenePicture().colorRampShader;
    std::unique_ptr<kinora::Shader>& displayShader = this->scenePicture().displayShader;
    std::unique_ptr<kinora::Shader>& flatColorShader = this->scenePicture().flatColorShader;
    std::unique_ptr<kinora::Shader>& pathShader = this->scenePicture().pathShader;
    std::unique_ptr<kinora::Shader>& pickShader = this->scenePicture().pickShader;
};

class TestPlotView : public InspectableView<KNPlotView> {
public:
    std::unique_ptr<kinora::Mesh>& cubeMesh = plotPicture().cubeMesh;
};

class TestParameterSpaceView : public InspectableView<KNParameterSpaceView> {
public:
    std::unique_ptr<kinora::Mesh>& axesConnectorMesh = sweepPicture().axesConnectorMesh;
    std::unique_ptr<kinora::Renderable>& axesConnectors = sweepPicture().axesConnectors;
    std::unique_ptr<kinora::Renderable>& maxHandle = sweepPicture().maxHandle;
    std::unique_ptr<kinora::Renderable>& minHandle = sweepPicture().minHandle;
    std::unique_ptr<kinora::Renderable>& path = sweepPicture().path;
    std::unique_ptr<kinora::Mesh>& pathMesh = sweepPicture().pathMesh;
};

// Shows view at size points on screen; false if it is never exposed.
bool showAndWaitForExposure(KNOpenGLView& view, int width, int height);
// Shows view at size points on screen, waits until it is exposed, then runs awakeFromNib.
void showAndAwake(KNOpenGLView& view, int width, int height);
// Lets queued window-system events (resize, expose) arrive.
void settle();
// Resizes the shown view and waits for the resize event the window system sends.
void resizeAndWait(KNOpenGLView& view, int width, int height);

// Primary-button events at view coordinates (origin bottom left, y up), delivered through the
// window system like real input.
void pressAt(KNOpenGLView& view, QPointF point);
void moveTo(KNOpenGLView& view, QPointF point);
void releaseAt(KNOpenGLView& view, QPointF point);
void clickAt(KNOpenGLView& view, QPointF point);
void dragFromTo(KNOpenGLView& view, QPointF from, QPointF to);
// A wheel event of angleDelta y (a notch is 120), or of a touchpad pixel delta.
void wheel(KNOpenGLView& view, int angleDeltaY, int pixelDeltaY = 0);

// Where position (scene model coordinates) appears in view coordinates, projected with the
// scene's camera and transform exactly as the draw pass does.
QPointF projectToView(kinora::Scene& scene, kinora::Vector3 position, double viewWidth,
                      double viewHeight);

// Colour attachment 0 of target as an image, top row first.
QImage pictureOf(kinora::Framebuffer& target);
// Pixels of the x axis' name (light red) within 12 points of (x, y) (pixels, y from the top) in
// an image of scale pixels per point.
int xAxisNamePixelsNear(const QImage& image, double x, double y, int scale);

// Leaves no GL context current, as the window system may when a surface goes away.
void releaseCurrentContext();
// Whether the context every view draws with is the current one.
bool drawingContextIsCurrent();
// Whether the two window contexts exist, differ, and share the drawing context's objects.
bool areDistinctSharingContexts(const KNWindowContext& first, const KNWindowContext& second);

// The float contents of a GL buffer object.
std::vector<float> readFloatBuffer(unsigned buffer);
std::vector<unsigned> readIndexBuffer(unsigned buffer);

class RecordingPlotDelegate : public KNPlotViewDelegate {
public:
    std::vector<std::string> events;
    std::vector<Seed*> movedSeeds;

    void plotViewSeedWasMoved(KNPlotView*, Seed* seed) override {
        events.push_back("moved");
        movedSeeds.push_back(seed);
    }
    void plotViewSeedWasSelected(KNPlotView*, int value) override {
        events.push_back("selected " + std::to_string(value));
    }
    void plotViewSeedWasDeselected(KNPlotView*, int value) override {
        events.push_back("deselected " + std::to_string(value));
    }
};

class RecordingParameterDelegate : public KNParameterSpaceViewDelegate {
public:
    int boundsChanges = 0;
    // The line's first vertex as the delegate saw it: the lines are rebuilt before the call.
    std::vector<float> pathAtLastChange;
    TestParameterSpaceView* view = nullptr;

    void parameterSpaceViewBoundsDidChange(KNParameterSpaceView*) override;
};
