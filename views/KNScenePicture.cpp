#include "KNScenePicture.h"

#include "AxisTicks.h"
#include "BoundingBox.h"
#include "Framebuffer.h"
#include "KNLabelRenderer.h"
#include "KNRenderCallbacks.h"
#include "KNSharedContext.h"
#include "Matrix4.h"
#include "Mesh.h"
#include "Renderable.h"
#include "Scene.h"
#include "SceneFraming.h"
#include "Shader.h"

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointF>
#include <algorithm>
#include <cmath>
#include <epoxy/gl.h>
#include <exception>
#include <iostream>

namespace {
double clampedScale(double scale) {
    return std::clamp(scale, KNViewCamera::minimumSceneScale, KNViewCamera::maximumSceneScale);
}
} // namespace

KNScenePicture::KNScenePicture() = default;

KNScenePicture::~KNScenePicture() {
    attachContextForTeardown();
}

void KNScenePicture::attachContextForTeardown() {
    if (KNSharedContext::exists()) {
        KNSharedContext::makeCurrentOffscreen();
    }
}

std::string KNScenePicture::resourcePath(const std::string& baseName, const std::string& type) {
    const QString prefix = QStringLiteral("shaders/");
    QString name = QString::fromStdString(baseName);
    if (name.startsWith(prefix)) {
        name.remove(0, prefix.size());
    }
    const QString fileName = name + QLatin1Char('.') + QString::fromStdString(type);

    const QByteArray overrideDirectory = qgetenv("KINORA_SHADER_DIR");
    if (!overrideDirectory.isEmpty()) {
        return QDir(QString::fromLocal8Bit(overrideDirectory)).filePath(fileName).toStdString();
    }
    const QString relative = QStringLiteral("share/kinora/shaders/") + fileName;
    QDir directory(QCoreApplication::applicationDirPath());
    const QString expected = QDir(directory.filePath(QStringLiteral(".."))).filePath(relative);
    while (directory.cdUp()) {
        const QString candidate = directory.filePath(relative);
        if (QFileInfo::exists(candidate)) {
            return QDir::cleanPath(candidate).toStdString();
        }
    }
    return QDir::cleanPath(expected).toStdString();
}

void KNScenePicture::setUp(kinora::Framebuffer* target) {
    KNSharedContext::makeCurrentAnywhere();
    glEnable(GL_DEPTH_TEST);

    pathShader = std::make_unique<kinora::Shader>();
    pickShader = std::make_unique<kinora::Shader>();
    displayShader = std::make_unique<kinora::Shader>();
    flatColorShader = std::make_unique<kinora::Shader>();
    colorRampShader = std::make_unique<kinora::Shader>();
    loadShaders();

    labelRenderer = std::make_unique<KNLabelRenderer>();
    labelRenderer->load(resourcePath("shaders/label", "vsh"), resourcePath("shaders/label", "fsh"));

    buildAxes();
    scene = std::make_unique<kinora::Scene>(target);
    scene->camera.setFrustum(-1.0f, 1.0f, -1.0f, 1.0f, 2.0f, 60.0f);
    scene->camera.transform.position = kinora::Vector3(0.0, 0.0, 10.0);
    scene->addRenderable(axes.get());
}

void KNScenePicture::setAspect(double aspect) {
    const auto halfWidth = static_cast<float>(aspect);
    scene->camera.setFrustum(-halfWidth, halfWidth, -1.0f, 1.0f, 2.0f, 60.0f);
}

void KNScenePicture::loadShaders() {
    const struct {
        kinora::Shader* program;
        const char* vertex;
        const char* fragment;
    } programs[] = {
        {pathShader.get(), "shaders/basic", "shaders/path"},
        {pickShader.get(), "shaders/basic", "shaders/white_pick"},
        {displayShader.get(), "shaders/display", "shaders/display"},
        {flatColorShader.get(), "shaders/basic", "shaders/color_flat"},
        {colorRampShader.get(), "shaders/basic", "shaders/color_ramp"},
    };
    // The first failure ends the loading: the view still draws, and what the unlinked programs
    // would draw stays invisible.
    try {
        for (const auto& entry : programs) {
            entry.program->load(resourcePath(entry.vertex, "vsh"),
                                resourcePath(entry.fragment, "fsh"));
        }
    } catch (const std::exception& error) {
        std::cout << error.what() << std::endl;
    }
}

void KNScenePicture::buildAxes() {
    // Position, then the colour that the programs read as "vVelocity".
    const float vertices[36] = {
        -10.0f, 0.0f,   0.0f,   1.0f, 0.0f, 0.0f, //
        10.0f,  0.0f,   0.0f,   1.0f, 0.0f, 0.0f, //
        0.0f,   -10.0f, 0.0f,   0.0f, 1.0f, 0.0f, //
        0.0f,   10.0f,  0.0f,   0.0f, 1.0f, 0.0f, //
        0.0f,   0.0f,   -10.0f, 0.0f, 0.0f, 1.0f, //
        0.0f,   0.0f,   10.0f,  0.0f, 0.0f, 1.0f, //
    };
    const unsigned indices[6] = {0, 1, 2, 3, 4, 5};
    axesMesh = std::make_unique<kinora::Mesh>(vertices, indices, 12, 6, 3);
    axes = std::make_unique<kinora::Renderable>(axesMesh.get(), flatColorShader.get(), GL_LINES);
    axes->setupAttributes = setupVertexAttributes;
    axes->prepareDraw = prepareLineDraw;
    axes->createVertexArray();
}

bool KNScenePicture::drawPicture(kinora::Framebuffer& target, kinora::ScenePass& pass,
                                 kinora::ScenePass::Clock::time_point deadline) {
    return scene->drawPicture(pass, {}, true, target, deadline);
}

void KNScenePicture::drawOverlay(kinora::Framebuffer& target, double pixelsPerPoint) {
    const QSizeF picture(target.getWidth() / pixelsPerPoint, target.getHeight() / pixelsPerPoint);
    labelRenderer->draw(labels(picture), *scene, target, pixelsPerPoint);
}

std::vector<KNLabel> KNScenePicture::labels(QSizeF) const {
    return {};
}

kinora::Matrix4 KNScenePicture::sceneToClip() const {
    return scene->camera.updateProjection().projection * scene->camera.viewMatrix() *
           scene->transform.modelMatrix();
}

void KNScenePicture::fitAxesToCamera() {
    const kinora::Matrix4 toClip = sceneToClip();
    float vertices[36] = {};
    for (int axis = 0; axis < 3; ++axis) {
        const auto part = kinora::AxisTicks::visiblePart(toClip, axis);
        float* from = vertices + 12 * axis;
        float* to = from + 6;
        if (part) {
            from[axis] = static_cast<float>(part->from);
            to[axis] = static_cast<float>(part->to);
        }
        // The axis' colour, read as "vVelocity".
        from[3 + axis] = to[3 + axis] = 1.0f;
    }
    const unsigned indices[6] = {0, 1, 2, 3, 4, 5};
    KNSharedContext::makeCurrentAnywhere();
    axesMesh->setData(vertices, indices, 6, 6, 6);
}

std::vector<KNLabel> KNScenePicture::axisLabels(const std::array<QString, 3>& names, bool ticks,
                                                QSizeF picture) const {
    // The axes' own colours, lightened to read on black.
    const QColor tints[3] = {QColor(255, 150, 150), QColor(150, 235, 150), QColor(160, 185, 255)};
    // Ticks closer than this along the picture would crowd each other.
    constexpr double tickSpacing = 56.0;
    constexpr double shortestNamedAxis = 24.0;
    const kinora::Vector3 directions[3] = {kinora::xAxis, kinora::yAxis, kinora::zAxis};
    const kinora::Matrix4 toClip = sceneToClip();
    // Where a scene point lands on the picture, in points.
    const auto project = [&](kinora::Vector3 p) {
        const float* m = toClip.m;
        const double w = m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15];
        return QPointF((m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12]) / w * picture.width() / 2,
                       (m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13]) / w * picture.height() / 2);
    };
    std::vector<KNLabel> result;
    std::vector<KNLabel> tickLabels;
    for (int axis = 0; axis < 3; ++axis) {
        const auto part = kinora::AxisTicks::visiblePart(toClip, axis);
        if (!part) {
            continue;
        }
        const kinora::Vector3 direction = directions[axis];
        const QPointF shown = project(direction * part->to) - project(direction * part->from);
        // An axis seen end-on is a dot: a name would hide what lies there.
        if (!names[axis].isEmpty() && std::hypot(shown.x(), shown.y()) > shortestNamedAxis) {
            KNLabel name;
            name.text = names[axis];
            name.position = direction * part->to;
            name.colour = tints[axis];
            name.horizontalAlignment = 0.5;
            name.verticalAlignment = 0.5;
            result.push_back(name);
        }
        if (!ticks) {
            continue;
        }
        // The spacing of whole units along the visible part's middle.
        const double middle = (part->from + part->to) / 2.0;
        const double probe = (part->to - part->from) / 100.0;
        const QPointF along = project(direction * (middle + probe)) - project(direction * middle);
        const double pointsPerUnit = std::hypot(along.x(), along.y()) / probe;
        if (!(pointsPerUnit > 0.0) || !std::isfinite(pointsPerUnit)) {
            continue;
        }
        const double step = kinora::AxisTicks::niceStep(tickSpacing / pointsPerUnit);
        for (const double value : kinora::AxisTicks::values(*part, step)) {
            KNLabel tick;
            tick.text = QString::fromStdString(kinora::AxisTicks::text(value, step));
            tick.position = direction * value;
            tick.offsetX = 3.0;
            tick.offsetY = 1.0;
            tick.crowdable = true;
            tickLabels.push_back(tick);
        }
    }
    // The names take their places first; ticks give way to them.
    result.insert(result.end(), tickLabels.begin(), tickLabels.end());
    return result;
}

void KNScenePicture::setViewCamera(const KNViewCamera& camera) {
    if (!scene) {
        return;
    }
    scene->transform = camera.sceneTransform;
    scene->camera.transform = camera.eye;
    scene->camera.zoom = camera.zoom;
    scene->camera.kind = camera.projection;
}

void KNScenePicture::frameBox(const kinora::BoundingBox& box, double margin) {
    if (!scene) {
        return;
    }
    const kinora::SceneFraming framing =
        kinora::frameBox(box, scene->transform.rotation, scene->camera, margin);
    const double scale = clampedScale(framing.scale);
    scene->transform.pivot = framing.pivot;
    scene->transform.position = kinora::Vector3();
    scene->transform.scale = kinora::Vector3(scale, scale, scale);
}
