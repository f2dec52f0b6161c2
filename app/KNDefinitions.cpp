#include "KNDefinitions.h"

#include "Mesh.h"
#include "Path.h"
#include "Renderable.h"
#include "Seed.h"
#include "Shader.h"

#include <cassert>
#include <cstdint>
#include <epoxy/gl.h>

kinora::Vector3 lorenz(double, const std::vector<kinora::Parameter>& p, kinora::Vector3 state) {
    assert(p.size() == 3);
    const double rho = p[0].value();
    const double sigma = p[1].value();
    const double beta = p[2].value();
    const double x = state.x, y = state.y, z = state.z;
    return {(y - x) * sigma, x * (rho - z) - y, x * y - beta * z};
}

kinora::Vector3 rossler(double, const std::vector<kinora::Parameter>& p, kinora::Vector3 state) {
    assert(p.size() == 3);
    const double a = p[0].value();
    const double b = p[1].value();
    const double c = p[2].value();
    const double x = state.x, y = state.y, z = state.z;
    return {(-y) - z, x + a * y, b + z * (x - c)};
}

namespace {
constexpr GLsizei vertexStride = 6 * sizeof(float);

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

void setupVertexAttributes(kinora::Renderable* renderable) {
    pointAttribute(*renderable->shader, "vPosition", 0);
    pointAttribute(*renderable->shader, "vVelocity", 3 * sizeof(float));
}

void prepareLineDraw(kinora::Renderable*) {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
}

void preparePathDraw(kinora::Renderable* renderable) {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    renderable->shader->setUniform1f("evolution", static_cast<Path*>(renderable)->sValue);
}

void prepareSeedDraw(kinora::Renderable* renderable) {
    glPointSize(static_cast<Seed*>(renderable)->isSelected ? 20.0f : 10.0f);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
}

void prepareHandleDraw(kinora::Renderable*) {
    glPointSize(10.0f);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
}

std::unique_ptr<kinora::Mesh> makePointMesh() {
    const float vertex[6] = {};
    const unsigned index = 0;
    return std::make_unique<kinora::Mesh>(vertex, &index, 1, 1, 6);
}
