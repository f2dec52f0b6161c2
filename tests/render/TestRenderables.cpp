#include "TestRenderables.h"

#include "Shader.h"

#include <epoxy/gl.h>

namespace kinora::test {

namespace {

void pointAttribute(const Shader* shader, const char* name, std::size_t offset) {
    const GLint location = shader->attributeLocation(name);
    if (location < 0) {
        return;
    }
    glEnableVertexAttribArray(static_cast<GLuint>(location));
    glVertexAttribPointer(static_cast<GLuint>(location), 3, GL_FLOAT, GL_FALSE, 24,
                          reinterpret_cast<const void*>(offset));
}

} // namespace

void setupPositionAndSecondTriple(Renderable* renderable) {
    pointAttribute(renderable->shader, "vPosition", 0);
    pointAttribute(renderable->shader, "vVelocity", 12);
}

void prepareLine(Renderable*) {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
}

void preparePickablePoint(Renderable*) {
    glPointSize(10.0f);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
}

std::unique_ptr<Mesh> makePointMesh() {
    const float vertex[6] = {0, 0, 0, 0, 0, 0};
    const unsigned index = 0;
    return std::make_unique<Mesh>(vertex, &index, 1, 1, 6);
}

std::unique_ptr<Mesh> makeSegmentMesh(Vector3 a, Vector3 b, Vector3 colour) {
    const auto f = [](double value) { return static_cast<float>(value); };
    const float vertices[12] = {f(a.x), f(a.y), f(a.z), f(colour.x), f(colour.y), f(colour.z),
                                f(b.x), f(b.y), f(b.z), f(colour.x), f(colour.y), f(colour.z)};
    const unsigned indices[2] = {0, 1};
    return std::make_unique<Mesh>(vertices, indices, 2, 2, 6);
}

void placeCameraLikeTheViews(Scene& scene) {
    scene.camera.setFrustum(-1.0f, 1.0f, -1.0f, 1.0f, 2.0f, 60.0f);
    scene.camera.transform.position = Vector3(0.0, 0.0, 10.0);
}

void SceneOnTargetTest::SetUp() {
    GLTest::SetUp();
    target = std::make_unique<OffscreenTarget>(64, 64);
    scene = std::make_unique<Scene>(&target->framebuffer);
    placeCameraLikeTheViews(*scene);
}

std::uint32_t SceneOnTargetTest::pictureAt(int x, int y) {
    return target->pixel(GL_COLOR_ATTACHMENT0, x, y);
}

} // namespace kinora::test
