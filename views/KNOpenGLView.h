#pragma once

#include "KNViewCamera.h"

#include <QImage>
#include <QPointF>
#include <QWindow>
#include <memory>
#include <string>

class QOpenGLContext;
class Texture2D;

namespace kinora {
class Framebuffer;
class Mesh;
class Renderable;
class Scene;
class Shader;
} // namespace kinora

// An interactive 3-D view: draws its scene off screen, copies the picture onto this window, picks
// the renderable under a click, turns the scene when dragged on empty space, drags the selected
// renderable parallel to the screen and scales the scene with the wheel.
//
// Every view of every window draws with one GL context (sharedContext()), so they share one VAO
// namespace and one set of GL state. Embed a view with QWidget::createWindowContainer and call
// awakeFromNib() once its native window exists.
class KNOpenGLView : public QWindow {
public:
    explicit KNOpenGLView(QWindow* parent = nullptr);
    ~KNOpenGLView() override;

    KNOpenGLView(const KNOpenGLView&) = delete;
    KNOpenGLView& operator=(const KNOpenGLView&) = delete;

    // The process-wide GL context (3.2 core, 8-8-8 colour, 16-bit depth, double buffered),
    // created on the first call and current on an offscreen surface from then on.
    static QOpenGLContext* sharedContext();

    // Where the shader file with this base name ("shaders/basic") and type ("vsh", "fsh") lives:
    // in $KINORA_SHADER_DIR when that is set, else in the nearest share/kinora/shaders above the
    // executable (build tree and install tree alike). A file that is not there still yields a
    // path, one that fails to open, so loading it reports the missing file.
    static std::string resourcePath(const std::string& baseName, const std::string& type);

    // One-time set-up: programs, 480 x 480 off-screen images, the scene with the axes.
    virtual void awakeFromNib();
    // Rebuilds the off-screen images at the view's current size, sets the frustum, redraws.
    void update();
    // Draws the scene off screen and presents the picture on this window.
    void redraw();
    // Sets the scene scale (clamped like the wheel's).
    void setZoom(float zoom);

    // The scene's transform, the eye and the zoom, with this view's size in points.
    KNViewCamera viewCamera() const;
    // Takes over the transforms and zoom (the size stays the window system's). No redraw.
    void setViewCamera(const KNViewCamera& camera);
    // The scene drawn off screen at width x height pixels with this view's camera, the frustum
    // widened or narrowed to that shape, as the window shows it (opaque). A null image when the
    // view is not set up or the GL cannot make an image of that size.
    QImage renderPicture(int width, int height);

    // The scene scale never leaves this range, so dragging never divides by zero.
    static constexpr double minimumSceneScale = 1e-3;
    static constexpr double maximumSceneScale = 1e3;

protected:
    // Mouse and wheel in view coordinates: points, origin at the bottom left.
    void mouseDown(QPointF locationInView);
    void mouseDragged(QPointF locationInView);
    void mouseUp(QPointF locationInView);
    void scrollWheel(double deltaY);

    // Hooks for the subclasses. The base drag moves r so that it follows the cursor in the plane
    // through r parallel to the screen; overrides call it first.
    virtual void renderableWasSelected(kinora::Renderable* r);
    virtual void renderableWasDeselected(kinora::Renderable* r);
    virtual void renderableDraggedFromPointToPoint(kinora::Renderable* r, QPointF from, QPointF to);
    // Whether r may become the selection; only the view's own pickable objects may.
    virtual bool isSelectable(kinora::Renderable* r) const;

    // Makes the shared context current on this window, or on the offscreen surface while this
    // window has no native window to draw to.
    void attachContext();
    // Makes the shared context current on its offscreen surface, so GL names can be deleted
    // whatever state this window's native window is in; a no-op before the context exists.
    static void attachContextForTeardown();

    // The view's size in points, each side truncated to an int and at least 1.
    int frameWidth() const;
    int frameHeight() const;
    // The size of the off-screen images and of the viewport: device pixels, each side >= 1.
    int pixelWidth() const;
    int pixelHeight() const;

    void exposeEvent(QExposeEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

    std::unique_ptr<kinora::Scene> scene;
    std::unique_ptr<kinora::Shader> flatColorShader;
    std::unique_ptr<kinora::Shader> colorRampShader;
    std::unique_ptr<kinora::Shader> pathShader;
    std::unique_ptr<kinora::Shader> pickShader;
    std::unique_ptr<kinora::Shader> displayShader;
    std::unique_ptr<kinora::Renderable> axes;
    std::unique_ptr<kinora::Mesh> axesMesh;
    std::unique_ptr<Texture2D> displayTexture;
    std::unique_ptr<Texture2D> pickTexture;
    std::unique_ptr<kinora::Framebuffer> framebuffer;
    kinora::Renderable* selected = nullptr;
    QPointF previousPointInView;

private:
    void loadShaders();
    void buildOffscreenImages(int width, int height);
    void buildAxes();
    // A mouse event's position flipped to view coordinates.
    QPointF locationInView(const QMouseEvent& event) const;
    static double scrollDelta(const QWheelEvent& event);

    // A drag belongs to a primary-button press inside this view.
    bool primaryButtonDown = false;
};
