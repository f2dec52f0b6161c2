#include "Renderable.h"

#include "Mesh.h"
#include "Shader.h"

#include <algorithm>
#include <cstdint>
#include <epoxy/gl.h>

namespace kinora {

Renderable::Renderable(Mesh* mesh, Shader* shader, unsigned drawMode)
    : mesh(mesh), shader(shader), drawMode(drawMode), polygonMode(GL_FILL) {}

Renderable::~Renderable() {
    if (vertexArray != 0) {
        glDeleteVertexArrays(1, &vertexArray);
    }
}

void Renderable::createVertexArray() {
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    mesh->bind();
    if (setupAttributes != nullptr) {
        setupAttributes(this);
    }
    glBindVertexArray(0);
    mesh->unbind();
}

void Renderable::draw() {
    drawElements(0, elementCount());
}

int Renderable::drawPart(int first, int budget) {
    const int count = elementCount();
    int end = count;
    int next = count;
    if (drawMode == GL_LINE_STRIP) {
        // Parts share their boundary vertex, so no segment is lost or drawn twice.
        if (budget >= 2 && count - first > budget) {
            end = first + budget;
            next = end - 1;
        }
    } else if (drawMode == GL_POINTS || drawMode == GL_LINES || drawMode == GL_TRIANGLES) {
        const int perPrimitive = drawMode == GL_POINTS ? 1 : drawMode == GL_LINES ? 2 : 3;
        const int size = std::max(perPrimitive, budget / perPrimitive * perPrimitive);
        if (count - first > size) {
            end = first + size;
            next = end;
        }
    }
    drawElements(first, end - first);
    return next;
}

int Renderable::elementCount() const {
    return mesh->getIndexCount();
}

void Renderable::drawElements(int first, int count) {
    if (visible == 0) {
        return;
    }
    shader->use();
    if (prepareDraw != nullptr) {
        prepareDraw(this);
    }
    const Matrix4 model = transform.modelMatrix();
    const Matrix4 inverseModel = transform.inverseModelMatrix();
    shader->setUniformMatrix4fv("modelMatrix", 1, false, model.m);
    shader->setUniformMatrix4fv("inverseModelMatrix", 1, false, inverseModel.m);
    glPolygonMode(GL_FRONT_AND_BACK, polygonMode);
    // Binding the mesh again restores the element buffer that any Mesh::unbind took from the
    // vertex array.
    glBindVertexArray(vertexArray);
    mesh->bind();
    glDrawElements(
        drawMode, count, GL_UNSIGNED_INT,
        reinterpret_cast<const void*>(static_cast<std::uintptr_t>(first) * sizeof(std::uint32_t)));
    mesh->unbind();
    glBindVertexArray(0);
}

bool Renderable::drawsNothing() const {
    const int indices = mesh->getIndexCount();
    switch (drawMode) {
    case GL_POINTS:
        return indices < 1;
    case GL_LINES:
    case GL_LINE_STRIP:
    case GL_LINE_LOOP:
        return indices < 2;
    default:
        return indices < 3;
    }
}

} // namespace kinora
