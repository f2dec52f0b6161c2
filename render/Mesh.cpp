#include "Mesh.h"

#include <cassert>
#include <epoxy/gl.h>

namespace kinora {

Mesh::Mesh(const float* vertices, const unsigned* indices, int vertexCount, int indexCount,
           int componentsPerVertex)
    : indexCount(indexCount) {
    GLuint names[2] = {0, 0};
    glGenBuffers(2, names);
    vertexBuffer = names[0];
    indexBuffer = names[1];
    setData(vertices, indices, vertexCount, indexCount, componentsPerVertex);
}

Mesh::~Mesh() {
    const GLuint names[2] = {vertexBuffer, indexBuffer};
    glDeleteBuffers(2, names);
}

void Mesh::setData(const float* vertices, const unsigned* indices, int vertexCount,
                   int newIndexCount, int componentsPerVertex) {
    assert(vertexCount >= 0 && newIndexCount >= 0 && componentsPerVertex >= 0);
    indexCount = newIndexCount;
    bind();
    // Sizes in 64 bits: a large path must not overflow the byte count.
    const auto vertexBytes = static_cast<GLsizeiptr>(vertexCount) * componentsPerVertex *
                             static_cast<GLsizeiptr>(sizeof(float));
    const auto indexBytes =
        static_cast<GLsizeiptr>(newIndexCount) * static_cast<GLsizeiptr>(sizeof(unsigned));
    glBufferData(GL_ARRAY_BUFFER, vertexBytes, vertices, GL_DYNAMIC_DRAW);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, indexBytes, indices, GL_DYNAMIC_DRAW);
    unbind();
}

void Mesh::bind() const {
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
}

void Mesh::unbind() const {
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

} // namespace kinora
