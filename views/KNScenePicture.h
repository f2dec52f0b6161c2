#pragma once

#include "KNLabel.h"
#include "KNViewCamera.h"
#include "ScenePass.h"

#include <QSizeF>
#include <QString>
#include <array>
#include <memory>
#include <string>
#include <vector>

class KNLabelRenderer;

namespace kinora {
class BoundingBox;
class Framebuffer;
struct Matrix4;
class Mesh;
class Renderable;
class Scene;
class Shader;
} // namespace kinora

// What a 3-D view shows, apart from any window: the scene with its camera, the programs its
// objects draw with, the axes, and the labels over the picture. A view draws it into its own
// off-screen images and presents them on its window; an export draws it into an image of its own
// with no window at all. Subclasses add what they show and how it is drawn.
//
// The members are the parts a view builds its own objects on (its pickable objects draw with
// pickShader, say). Needs the shared GL context current (KNSharedContext) from setUp on.
class KNScenePicture {
public:
    KNScenePicture();
    virtual ~KNScenePicture();
    KNScenePicture(const KNScenePicture&) = delete;
    KNScenePicture& operator=(const KNScenePicture&) = delete;

    // Where the shader file with this base name ("shaders/basic") and type ("vsh", "fsh") lives:
    // in $KINORA_SHADER_DIR when that is set, else in the nearest share/kinora/shaders above the
    // executable (build tree and install tree alike). A file that is not there still yields a
    // path, one that fails to open, so loading it reports the missing file.
    static std::string resourcePath(const std::string& baseName, const std::string& type);

    // One-time set-up: the programs, the labels, and the scene with the axes, seen through a
    // square frustum. target holds the pick image the scene reads (null for a picture only ever
    // drawn into images given to drawPicture).
    virtual void setUp(kinora::Framebuffer* target);
    bool isSetUp() const { return scene != nullptr; }
    // The frustum of a picture width / height as wide as it is high, the vertical extent kept.
    void setAspect(double aspect);
    // Pixels per point of the screen the picture is shown on (1 off screen): what a picture's
    // layout in points is measured with where its size comes as a target's pixels.
    void setDevicePixelRatio(double ratio) { pixelRatio = ratio; }
    double devicePixelRatio() const { return pixelRatio; }

    // Draws the picture (colour attachment 0 of target) of the scene, going on where pass
    // stands until it is complete (returned) or the deadline has passed (see
    // kinora::Scene::drawPicture); subclasses may draw it another way as long as the result is
    // the same.
    virtual bool drawPicture(kinora::Framebuffer& target, kinora::ScenePass& pass,
                             kinora::ScenePass::Clock::time_point deadline);
    // What is drawn over the picture: the labels() and whatever subclasses add. Never picked.
    virtual void drawOverlay(kinora::Framebuffer& target, double pixelsPerPoint);
    // The texts over a picture of the given size in points; the base has none.
    virtual std::vector<KNLabel> labels(QSizeF picture) const;
    // The axes' names at the farthest point of their positive direction in the picture, each
    // lightly tinted with its axis' colour (an empty name is left out), and with ticks round
    // values along each axis, as far apart as they need to be read on a picture of that size.
    std::vector<KNLabel> axisLabels(const std::array<QString, 3>& names, bool ticks,
                                    QSizeF picture) const;
    // The scene's projection × view × model.
    kinora::Matrix4 sceneToClip() const;
    // Lays each axis across the part of its line the scene's camera shows (see
    // kinora::AxisTicks), so the axes reach the picture's edges at any zoom.
    void fitAxesToCamera();

    // Takes over the camera's transforms, zoom and projection (its size is the owner's).
    void setViewCamera(const KNViewCamera& camera);
    // Places the scene so that box fills the picture, leaving margin (a part of the half-width and
    // half-height) free on every side and keeping the scene's rotation; an empty box returns to
    // the default placement.
    void frameBox(const kinora::BoundingBox& box, double margin);

    std::unique_ptr<kinora::Scene> scene;
    std::unique_ptr<kinora::Shader> flatColorShader;
    std::unique_ptr<kinora::Shader> colorRampShader;
    std::unique_ptr<kinora::Shader> pathShader;
    std::unique_ptr<kinora::Shader> pickShader;
    std::unique_ptr<kinora::Shader> displayShader;
    std::unique_ptr<kinora::Renderable> axes;
    std::unique_ptr<kinora::Mesh> axesMesh;
    std::unique_ptr<KNLabelRenderer> labelRenderer;

protected:
    // Makes the shared context current, so GL names can be deleted whatever state any window is
    // in; a no-op before the context exists. For the destructors of subclasses.
    static void attachContextForTeardown();

private:
    void loadShaders();
    void buildAxes();

    double pixelRatio = 1.0;
};
