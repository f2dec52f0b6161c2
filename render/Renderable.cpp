#include "Renderable.h"

#include "Mesh.h"
#include "Shader.h"

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
    glDrawElements(drawMode, mesh->getIndexCount(), GL_UNSIGNED_INT, nullptr);
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
