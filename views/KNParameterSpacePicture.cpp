#include "KNParameterSpacePicture.h"

#include "KNRenderCallbacks.h"
#include "KNSharedContext.h"
#include "Mesh.h"
#include "Renderable.h"
#include "Scene.h"

#include <QStringList>
#include <cassert>
#include <epoxy/gl.h>

namespace {
// Component axis of position; null for an axis that does not exist.
double* coordinate(kinora::Vector3& position, int axis) {
    switch (axis) {
    case 0:
        return &position.x;
    case 1:
        return &position.y;
    case 2:
        return &position.z;
    default:
        return nullptr;
    }
}

double coordinateOrZero(kinora::Vector3 position, int axis) {
    const double* value = coordinate(position, axis);
    return value != nullptr ? *value : 0.0;
}

std::unique_ptr<kinora::Renderable> makeRenderable(kinora::Mesh* mesh, kinora::Shader* program,
                                                   unsigned drawMode,
                                                   kinora::RenderableCallback prepareDraw) {
    auto renderable = std::make_unique<kinora::Renderable>(mesh, program, drawMode);
    renderable->setupAttributes = setupVertexAttributes;
    renderable->prepareDraw = prepareDraw;
    renderable->createVertexArray();
    return renderable;
}
} // namespace

KNParameterSpacePicture::KNParameterSpacePicture() = default;

KNParameterSpacePicture::~KNParameterSpacePicture() {
    attachContextForTeardown();
}

void KNParameterSpacePicture::setUp(kinora::Framebuffer* target) {
    KNScenePicture::setUp(target);
    handleMesh = makePointMesh();
    pathMesh = makePointMesh();
    axesConnectorMesh = makePointMesh();
    minHandle = makeRenderable(handleMesh.get(), pickShader.get(), GL_POINTS, prepareHandleDraw);
    maxHandle = makeRenderable(handleMesh.get(), pickShader.get(), GL_POINTS, prepareHandleDraw);
    path = makeRenderable(pathMesh.get(), colorRampShader.get(), GL_LINES, prepareLineDraw);
    axesConnectors =
        makeRenderable(axesConnectorMesh.get(), flatColorShader.get(), GL_LINES, prepareLineDraw);
    scene->addRenderable(path.get());
    scene->addRenderable(axesConnectors.get());
    scene->addRenderable(minHandle.get());
    scene->addRenderable(maxHandle.get());
}

void KNParameterSpacePicture::updatePath() {
    assert(minHandle && "setUp comes first");
    // Only buffers are refilled, but the context may have lost its surface since the last call.
    KNSharedContext::makeCurrentAnywhere();
    const kinora::Vector3 a = minHandle->transform.position;
    const kinora::Vector3 b = maxHandle->transform.position;
    const float ax = static_cast<float>(a.x), ay = static_cast<float>(a.y),
                az = static_cast<float>(a.z);
    const float bx = static_cast<float>(b.x), by = static_cast<float>(b.y),
                bz = static_cast<float>(b.z);

    // Shaded from the start (0) to the end (1) through the second triple.
    const float line[12] = {ax, ay, az, 0.0f, 0.0f, 0.0f, bx, by, bz, 1.0f, 1.0f, 1.0f};
    const unsigned lineIndices[2] = {0, 1};
    pathMesh->setData(line, lineIndices, 2, 2, 6);

    // From each handle one line straight down onto each coordinate plane.
    const float connectors[48] = {
        ax,   ay,   az,   1.0f, 1.0f, 1.0f, //
        0.0f, ay,   az,   1.0f, 1.0f, 1.0f, //
        ax,   0.0f, az,   1.0f, 1.0f, 1.0f, //
        ax,   ay,   0.0f, 1.0f, 1.0f, 1.0f, //
        bx,   by,   bz,   1.0f, 1.0f, 1.0f, //
        0.0f, by,   bz,   1.0f, 1.0f, 1.0f, //
        bx,   0.0f, bz,   1.0f, 1.0f, 1.0f, //
        bx,   by,   0.0f, 1.0f, 1.0f, 1.0f, //
    };
    const unsigned connectorIndices[12] = {0, 1, 0, 2, 0, 3, 4, 5, 4, 6, 4, 7};
    axesConnectorMesh->setData(connectors, connectorIndices, 8, 12, 6);
}

void KNParameterSpacePicture::setStartValue(double value, int axis) {
    assert(minHandle && "setUp comes first");
    if (double* target = coordinate(minHandle->transform.position, axis)) {
        *target = value;
    }
    updatePath();
}

void KNParameterSpacePicture::setEndValue(double value, int axis) {
    assert(maxHandle && "setUp comes first");
    if (double* target = coordinate(maxHandle->transform.position, axis)) {
        *target = value;
    }
    updatePath();
}

double KNParameterSpacePicture::minValueForAxis(int axis) const {
    return minHandle ? coordinateOrZero(minHandle->transform.position, axis) : 0.0;
}

double KNParameterSpacePicture::maxValueForAxis(int axis) const {
    return maxHandle ? coordinateOrZero(maxHandle->transform.position, axis) : 0.0;
}

void KNParameterSpacePicture::setAxisNames(const std::array<QString, 3>& names) {
    axisNames = names;
}

std::vector<KNLabel> KNParameterSpacePicture::labels(QSizeF picture) const {
    std::vector<KNLabel> result = axisLabels(axisNames, false, picture);
    for (const kinora::Renderable* handle : {minHandle.get(), maxHandle.get()}) {
        if (handle == nullptr) {
            continue;
        }
        QStringList values;
        for (int axis = 0; axis < 3; ++axis) {
            if (!axisNames[static_cast<std::size_t>(axis)].isEmpty()) {
                values << QString::number(coordinateOrZero(handle->transform.position, axis), 'g',
                                          4);
            }
        }
        if (values.isEmpty()) {
            continue;
        }
        KNLabel label;
        label.text = values.join(QStringLiteral(", "));
        label.position = handle->transform.position;
        label.offsetX = 8.0;
        label.offsetY = 4.0;
        result.push_back(label);
    }
    return result;
}

bool KNParameterSpacePicture::isHandle(const kinora::Renderable* r) const {
    return r == minHandle.get() || r == maxHandle.get();
}
