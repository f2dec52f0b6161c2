#include "KNSectionOverlay.h"

#include "Framebuffer.h"
#include "KNRenderCallbacks.h"
#include "Mesh.h"
#include "Renderable.h"
#include "Shader.h"

#include <epoxy/gl.h>

namespace {

// How much of the plane's colour covers what lies behind it.
constexpr float planeOpacity = 0.22f;
constexpr float dotSize = 5.0f;

void useMatrices(const kinora::Shader& program, const kinora::Matrix4& projection,
                 const kinora::Matrix4& view) {
    program.use();
    program.setUniformMatrix4fv("projectionMatrix", 1, false, projection.m);
    program.setUniformMatrix4fv("viewMatrix", 1, false, view.m);
}

std::unique_ptr<kinora::Renderable> renderableOf(kinora::Mesh* mesh, kinora::Shader* program,
                                                 unsigned mode) {
    auto renderable = std::make_unique<kinora::Renderable>(mesh, program, mode);
    renderable->setupAttributes = setupVertexAttributes;
    renderable->createVertexArray();
    return renderable;
}

} // namespace

KNSectionOverlay::KNSectionOverlay() = default;

KNSectionOverlay::~KNSectionOverlay() = default;

void KNSectionOverlay::setUp(kinora::Shader* flat, kinora::Shader* ramp) {
    planeMesh = makePointMesh();
    outlineMesh = makePointMesh();
    dotMesh = makePointMesh();
    plane = renderableOf(planeMesh.get(), flat, GL_TRIANGLES);
    outline = renderableOf(outlineMesh.get(), flat, GL_LINE_LOOP);
    dots = renderableOf(dotMesh.get(), ramp, GL_POINTS);
}

void KNSectionOverlay::setPlane(const std::optional<std::array<kinora::Vector3, 4>>& corners) {
    shown = corners.has_value() && plane != nullptr;
    if (!shown) {
        return;
    }
    // The plane's colour as "vVelocity": a pale blue.
    float vertices[24];
    for (std::size_t i = 0; i < 4; ++i) {
        const kinora::Vector3& c = (*corners)[i];
        float* v = vertices + 6 * i;
        v[0] = static_cast<float>(c.x);
        v[1] = static_cast<float>(c.y);
        v[2] = static_cast<float>(c.z);
        v[3] = 0.55f;
        v[4] = 0.70f;
        v[5] = 1.0f;
    }
    const unsigned triangles[6] = {0, 1, 2, 0, 2, 3};
    const unsigned loop[4] = {0, 1, 2, 3};
    planeMesh->setData(vertices, triangles, 4, 6, 6);
    outlineMesh->setData(vertices, loop, 4, 4, 6);
}

void KNSectionOverlay::setDots(const std::vector<float>& positions) {
    if (dots == nullptr) {
        return;
    }
    dotCount = static_cast<int>(positions.size() / 4);
    if (dotCount == 0) {
        return;
    }
    std::vector<float> vertices(6 * static_cast<std::size_t>(dotCount));
    std::vector<unsigned> indices(static_cast<std::size_t>(dotCount));
    for (int i = 0; i < dotCount; ++i) {
        const float* from = positions.data() + 4 * i;
        float* to = vertices.data() + 6 * i;
        to[0] = from[0];
        to[1] = from[1];
        to[2] = from[2];
        // The ramp reads s as the first component of "vVelocity".
        to[3] = to[4] = to[5] = from[3];
        indices[static_cast<std::size_t>(i)] = static_cast<unsigned>(i);
    }
    dotMesh->setData(vertices.data(), indices.data(), dotCount, dotCount, 6);
}

void KNSectionOverlay::draw(kinora::Framebuffer& target, const kinora::Matrix4& projection,
                            const kinora::Matrix4& view, double pixelsPerPoint) {
    if (!shown) {
        return;
    }
    target.bind();
    const GLenum pictureOnly[2] = {GL_COLOR_ATTACHMENT0, GL_NONE};
    glDrawBuffers(2, pictureOnly);
    glViewport(0, 0, target.getWidth(), target.getHeight());
    glDisable(GL_STENCIL_TEST);

    useMatrices(*plane->shader, projection, view);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glBlendColor(0.0f, 0.0f, 0.0f, planeOpacity);
    glBlendFunc(GL_CONSTANT_ALPHA, GL_ONE_MINUS_CONSTANT_ALPHA);
    plane->draw();
    glDepthMask(GL_TRUE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glLineWidth(static_cast<float>(pixelsPerPoint));
    outline->draw();

    if (dotCount > 0) {
        useMatrices(*dots->shader, projection, view);
        glPointSize(dotSize * static_cast<float>(pixelsPerPoint));
        dots->draw();
    }
    // The blending the scene's passes expect.
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    target.unbind();
}
