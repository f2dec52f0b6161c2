#pragma once

#include "AxisView.h"
#include "Camera.h"
#include "KNScenePicture.h"
#include "KNViewCamera.h"
#include "KNWindowContext.h"
#include "ScenePass.h"
#include "Transform.h"

#include <QImage>
#include <QPointF>
#include <QSizeF>
#include <QTimer>
#include <QWindow>
#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QOpenGLContext;
class Texture2D;

namespace kinora {
class BoundingBox;
class Framebuffer;
class Renderable;
} // namespace kinora

// An interactive 3-D view: draws its picture (a KNScenePicture, which holds the scene and draws it
// without any window) off screen, copies it onto this window, picks the renderable under a click,
// turns the scene when dragged on empty space, drags the selected renderable parallel to the
// screen and scales the scene with the wheel.
//
// Drawing the picture, drawing the pick image and presenting are separate steps: the pick image
// (ids of the pickable objects only) is drawn when a click needs it, and only presenting needs
// the context on this view's window, so views draw and refill buffers without switching it.
//
// Every view of every window draws with one GL context (sharedContext()), so they share one VAO
// namespace and one set of GL state; each presents with a context of its own window in the same
// share group (KNWindowContext). Embed a view with QWidget::createWindowContainer and call
// awakeFromNib() once its native window exists.
class KNOpenGLView : public QWindow {
public:
    explicit KNOpenGLView(QWindow* parent = nullptr);
    // A view showing picture, which it owns.
    KNOpenGLView(std::unique_ptr<KNScenePicture> picture, QWindow* parent);
    ~KNOpenGLView() override;

    KNOpenGLView(const KNOpenGLView&) = delete;
    KNOpenGLView& operator=(const KNOpenGLView&) = delete;

    // The process-wide GL context (3.2 core, 8-8-8 colour, 16-bit depth, double buffered),
    // created on the first call and current on an offscreen surface from then on.
    static QOpenGLContext* sharedContext();

    // See KNScenePicture::resourcePath.
    static std::string resourcePath(const std::string& baseName, const std::string& type);

    // One-time set-up: 480 x 480 off-screen images, the picture's programs and its scene with the
    // axes.
    virtual void awakeFromNib();
    // Rebuilds the off-screen images at the view's current size, sets the frustum, asks for a
    // redraw.
    void update();
    // Draws the scene off screen and presents the picture on this window, at once, however
    // long that takes.
    void redraw();
    // Asks for a redraw once control returns to the event loop: all requests of one event (and
    // of events handled before it runs) make a single redraw. A picture that takes long is
    // drawn in slices: the first ends after firstDrawingSlice, each later one after
    // laterDrawingSlice, with the window's input handled in between. An unfinished picture is
    // shown as drawn so far once the view has shown nothing new for unfinishedShownAfter, and
    // every unfinishedShownAfter from then on. A request while slices are left starts the
    // picture again.
    void requestRedraw();
    // Whether a requested picture still has slices to draw.
    bool isDrawing() const;
    // Counts the redraws requested through requestRedraw, that is the changes to what the
    // picture shows; the window system's own redraws (exposure, resizing) do not count.
    std::uint64_t pictureRevision() const { return revision; }
    // The lengths of the first and the later slices of a requested picture.
    void setDrawingSlices(std::chrono::milliseconds first, std::chrono::milliseconds later);

    // Short, so a key typed meanwhile is answered within a tenth of a second (the event loop
    // runs a due slice of drawing and one of the window's other work before it), and a picture
    // superseded by the next change costs little. Most pictures are done within the few slices
    // of unfinishedShownAfter and never show half drawn; a long one shows its progress without
    // presenting after every slice, which would cost more than the slices draw.
    static constexpr std::chrono::milliseconds firstDrawingSlice{15};
    static constexpr std::chrono::milliseconds laterDrawingSlice{10};
    static constexpr std::chrono::milliseconds unfinishedShownAfter{150};
    // The picture as it would be shown, labels included, drawn off screen at wantedSize (device
    // pixels) with the view's camera and an aspect ratio that follows the size, at once (see
    // KNImageRendering for one drawn in slices). For exporting images; the view's own images
    // and window are left alone. A size beyond what the GL can allocate or the memory budget
    // allows (KNImageLimits) gives a smaller image of the same shape. Null when the size is
    // empty.
    QImage renderImage(QSize wantedSize);
    // What the view shows, drawn alike in its window and in an export.
    KNScenePicture& scenePicture() { return *picture; }
    const KNScenePicture& scenePicture() const { return *picture; }
    // Sets the scene scale (clamped like the wheel's).
    void setZoom(float zoom);

    // The scene's transform, the eye and the zoom, with this view's size in points.
    KNViewCamera viewCamera() const;
    // Takes over the transforms and zoom (the size stays the window system's). No redraw.
    void setViewCamera(const KNViewCamera& camera);
    // Places the scene so that box fills the picture, leaving margin (a part of the half-width and
    // half-height) free on every side and keeping the scene's rotation;
    // turning and zooming then centre on the box. An empty box returns to the default placement.
    // No redraw.
    void frameBox(const kinora::BoundingBox& box, double margin);
    // Turns the scene about its pivot so that the eye looks along axis (see
    // kinora::sceneRotationLookingAlong). No redraw.
    void lookAlong(kinora::ViewAxis axis);
    // Switches between perspective and orthographic pictures; the plane through the pivot keeps
    // its size. No redraw.
    void setProjection(kinora::Camera::Projection projection);
    kinora::Camera::Projection projection() const;
    // The scene's placement now is the one resetView returns to.
    void rememberOpeningCamera();
    // Returns the scene to the remembered placement (the default one until something was
    // remembered). No redraw.
    void resetView();

    static constexpr double minimumSceneScale = KNViewCamera::minimumSceneScale;
    static constexpr double maximumSceneScale = KNViewCamera::maximumSceneScale;

protected:
    // Mouse and wheel in view coordinates: points, origin at the bottom left.
    void mouseDown(QPointF locationInView);
    void mouseDragged(QPointF locationInView);
    void mouseUp(QPointF locationInView);
    void scrollWheel(double deltaY);
    // Moves the scene with the cursor, parallel to the screen.
    void panned(QPointF from, QPointF to);

    // Hooks for the subclasses. The base drag moves r so that it follows the cursor in the plane
    // through r parallel to the screen; overrides call it first.
    virtual void renderableWasSelected(kinora::Renderable* r);
    virtual void renderableWasDeselected(kinora::Renderable* r);
    virtual void renderableDraggedFromPointToPoint(kinora::Renderable* r, QPointF from, QPointF to);
    // Whether r may become the selection; only the view's own pickable objects may.
    virtual bool isSelectable(kinora::Renderable* r) const;
    // What a click on picked (null: empty space) selects: picked itself when it is selectable,
    // else nothing. A subclass may select something else, which a drag from there then does not
    // move: the drag turns the scene.
    virtual kinora::Renderable* selectionFor(kinora::Renderable* picked);
    // The pointer moved over the view with no button down (reported once a frame at most, at
    // its latest place), or left it (nullopt).
    virtual void mouseHovered(std::optional<QPointF> locationInView);
    // Reports the pointer at locationInView to mouseHovered with the next hover pick.
    void hoverLater(QPointF locationInView);
    // The ids of the pickable objects into the pick image (colour attachment 1 of the
    // framebuffer), after the picture they belong to: by default the objects isSelectable
    // admits.
    virtual void drawPickImage();
    // The renderable whose id the pick image holds under a point in view coordinates, or null;
    // the pick image is drawn first if the picture changed since.
    virtual kinora::Renderable* renderableUnder(QPointF locationInView);
    // The end of a press-drag-release of the primary button.
    virtual void dragDidEnd();
    // The number of seeds the frame statistics report; -1 for a view without seeds.
    virtual int statisticsSeedCount() const;

    // Makes sure the shared context is current, on whatever surface it already is: enough to
    // draw off screen and to create or fill GL objects.
    static void ensureContext();
    // Makes the shared context current on its offscreen surface, so GL names can be deleted
    // whatever state this window's native window is in; a no-op before the context exists.
    static void attachContextForTeardown();

    // The view's size in points, each side truncated to an int and at least 1.
    int frameWidth() const;
    int frameHeight() const;
    // The view's size in device pixels, each side >= 1: the size of the off-screen images as long
    // as the GL and the memory budget allow it (KNImageLimits).
    int pixelWidth() const;
    int pixelHeight() const;

    void exposeEvent(QExposeEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool event(QEvent* event) override;

    std::unique_ptr<Texture2D> displayTexture;
    std::unique_ptr<Texture2D> pickTexture;
    std::unique_ptr<kinora::Framebuffer> framebuffer;
    kinora::Renderable* selected = nullptr;
    QPointF previousPointInView;
    // Presents the pictures on this window.
    KNWindowContext windowContext;

private:
    // A redraw of the same picture, as the window system asks for one.
    void scheduleRedraw();
    void buildOffscreenImages(int width, int height);
    // Draws on the requested picture until about the deadline, then presents it; the overlay
    // comes once the picture is complete.
    void drawSlice(kinora::ScenePass::Clock::time_point deadline);
    // Copies the picture onto this window and swaps; nothing while the window is not shown.
    void present();
    // Whether a slice that ends now with the picture as complete (or not) shows it.
    bool showsSlice(bool complete, kinora::ScenePass::Clock::time_point now);
    // With the window's context current: the picture into the window's back buffer.
    void copyPictureOntoWindow(QSize windowPixels);
    // Draws the pick image again if anything was drawn since it was last drawn.
    void updatePickImage();
    // The pixel of the off-screen images under a point in view coordinates.
    QPoint pickPixel(QPointF locationInView) const;
    // A mouse event's position flipped to view coordinates.
    QPointF locationInView(const QMouseEvent& event) const;
    static double scrollDelta(const QWheelEvent& event);

    std::unique_ptr<KNScenePicture> picture;
    // A drag belongs to a primary-button press inside this view.
    bool primaryButtonDown = false;
    // The press was on the selection itself, so a drag moves it.
    bool dragsSelection = false;
    bool redrawPending = false;
    std::uint64_t revision = 0;
    // The picture being drawn in slices, and the timer that runs the next slice.
    kinora::ScenePass picturePass;
    QTimer nextSlice;
    // The pointer's latest place with no button down, and the timer that reports it.
    QPointF hoverLocation;
    QTimer hoverPick;
    bool pictureUnfinished = false;
    // A request superseded a picture with slices left: the new one starts with a short slice.
    bool supersededUnfinished = false;
    // Since when the window has shown an older picture than the one drawn; none when it shows
    // the latest.
    std::optional<kinora::ScenePass::Clock::time_point> unshownSince;
    std::chrono::milliseconds firstSlice = firstDrawingSlice;
    std::chrono::milliseconds laterSlice = laterDrawingSlice;
    // The part of a slice spent sending drawing work, the rest being the renderer finishing it
    // and presenting: measured on every slice cut short by its deadline.
    double sendingShare = 1.0;
    // Whether the console has been told that the window is too large to draw to.
    bool tooLargeReported = false;
    bool pickImageStale = true;
    // Set from a Shift+primary or a middle-button press until its release.
    bool panning = false;
    kinora::Transform openingPlacement;
};
