#include "KNEquilibriumMarkers.h"

#include "Framebuffer.h"
#include "KNRenderCallbacks.h"
#include "Mesh.h"
#include "Renderable.h"
#include "Scene.h"
#include "Shader.h"

#include <epoxy/gl.h>

KNEquilibriumMarkers::KNEquilibriumMarkers() = default;

KNEquilibriumMarkers::~KNEquilibriumMarkers() = default;

void KNEquilibriumMarkers::setMarkers(const std::vector<KNEquilibriumMarker>& markers) {
    count = static_cast<int>(markers.size());
    if (markers.empty()) {
        return;
    }
    // The second triple carries the sweep place and the shape's number to the program.
    std::vector<float> vertices;
    std::vector<unsigned> indices;
    for (const KNEquilibriumMarker& marker : markers) {
        indices.push_back(static_cast<unsigned>(indices.size()));
        vertices.insert(vertices.end(), {static_cast<float>(marker.position.x),
                                         static_cast<float>(marker.position.y),
                                         static_cast<float>(marker.position.z), marker.s,
                                         static_cast<float>(marker.shape), 0.0f});
    }
    if (mesh) {
        mesh->setData(vertices.data(), indices.data(), count, count, 6);
        return;
    }
    mesh = std::make_unique<kinora::Mesh>(vertices.data(), indices.data(), count, count, 6);
    points = std::make_unique<kinora::Renderable>(mesh.get(), nullptr, GL_POINTS);
    points->setupAttributes = nullptr;
}

void KNEquilibriumMarkers::draw(kinora::Scene& scene, kinora::Shader& program,
                                kinora::Framebuffer& target, double pixelsPerPoint) {
    if (count == 0 || !program.linked) {
        return;
    }
    if (points->shader == nullptr) {
        points->shader = &program;
        points->setupAttributes = setupVertexAttributes;
        points->createVertexArray();
    }
    target.bind();
    const GLenum pictureOnly[2] = {GL_COLOR_ATTACHMENT0, GL_NONE};
    glDrawBuffers(2, pictureOnly);
    glViewport(0, 0, target.getWidth(), target.getHeight());
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_STENCIL_TEST);
    glEnable(GL_BLEND);
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glPointSize(size * static_cast<float>(pixelsPerPoint));
    const kinora::Matrix4 view = scene.camera.viewMatrix() * scene.transform.modelMatrix();
    const kinora::Matrix4 projection = scene.camera.updateProjection().projection;
    program.use();
    program.setUniformMatrix4fv("projectionMatrix", 1, false, projection.m);
    program.setUniformMatrix4fv("viewMatrix", 1, false, view.m);
    points->draw();
    target.unbind();
}
