#include "KNRenderCallbacks.h"

#include "Mesh.h"
#include "Path.h"
#include "Renderable.h"
#include "Seed.h"
#include "Shader.h"

#include <cstdint>
#include <epoxy/gl.h>

namespace {
constexpr GLsizei vertexStride = 6 * sizeof(float);
float drawingDensity = 1.0f;

void pointAttribute(const kinora::Shader& program, const char* name, std::uintptr_t offset) {
    // A program that does not read the attribute has nothing to point.
    const int location = program.attributeLocation(name);
    if (location < 0) {
        return;
    }
    glEnableVertexAttribArray(static_cast<GLuint>(location));
    glVertexAttribPointer(static_cast<GLuint>(location), 3, GL_FLOAT, GL_FALSE, vertexStride,
                          reinterpret_cast<const void*>(offset));
}
} // namespace

void setupVertexAttributesOf(const kinora::Shader& program) {
    pointAttribute(program, "vPosition", 0);
    pointAttribute(program, "vVelocity", 3 * sizeof(float));
}

void setupVertexAttributes(kinora::Renderable* renderable) {
    setupVertexAttributesOf(*renderable->shader);
}

void setDrawingDensity(double pixelsPerPoint) {
    drawingDensity = static_cast<float>(pixelsPerPoint);
}

void prepareLineDraw(kinora::Renderable*) {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glLineWidth(drawingDensity);
}

void setPathColour(const kinora::Shader& program, const Path& path) {
    program.setUniform1f("evolution", path.sValue);
    program.setUniform1i("colouring", !path.colouredByExponent ? 0 : path.exponentShade ? 1 : 2);
    program.setUniform1f("exponentShade", path.exponentShade.value_or(0.0f));
    program.setUniform1f("dimming", path.dimmed ? pathDimming : 0.0f);
}

void preparePathDraw(kinora::Renderable* renderable) {
    prepareLineDraw(renderable);
    setPathColour(*renderable->shader, *static_cast<Path*>(renderable));
}

float seedPointSize(const Seed& seed) {
    return (seed.isSelected ? 20.0f : 10.0f) * drawingDensity;
}

void prepareSeedDraw(kinora::Renderable* renderable) {
    glPointSize(seedPointSize(*static_cast<Seed*>(renderable)));
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
}

void prepareHandleDraw(kinora::Renderable*) {
    glPointSize(10.0f * drawingDensity);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
}

std::unique_ptr<kinora::Mesh> makePointMesh() {
    const float vertex[6] = {};
    const unsigned index = 0;
    return std::make_unique<kinora::Mesh>(vertex, &index, 1, 1, 6);
}
