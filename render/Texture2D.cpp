#include "Texture2D.h"

#include "Shader.h"

#include <epoxy/gl.h>

namespace {

// One quad for the whole process: every view draws with the same GL context.
struct ScreenQuad {
    GLuint vertexArray = 0;
    GLuint vertexBuffer = 0;
    GLint positionLocation = -1;
};
ScreenQuad screenQuad;

void createScreenQuad() {
    static const float corners[12] = {-1.0f, -1.0f, 0.0f, 1.0f, -1.0f, 0.0f,
                                      -1.0f, 1.0f,  0.0f, 1.0f, 1.0f,  0.0f};
    glGenVertexArrays(1, &screenQuad.vertexArray);
    glGenBuffers(1, &screenQuad.vertexBuffer);
    glBindVertexArray(screenQuad.vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, screenQuad.vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof corners, corners, GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

// With the quad's vertex array bound. Display programs are all built from the same files and so
// share one location; one that differs, or an earlier program without "vPosition", repoints the
// quad rather than leaving it unreadable.
void pointScreenQuadAt(GLint location) {
    if (location < 0 || location == screenQuad.positionLocation) {
        return;
    }
    glBindBuffer(GL_ARRAY_BUFFER, screenQuad.vertexBuffer);
    glEnableVertexAttribArray(static_cast<GLuint>(location));
    glVertexAttribPointer(static_cast<GLuint>(location), 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    screenQuad.positionLocation = location;
}

} // namespace

Texture2D::Texture2D(int internalFormat, unsigned format, unsigned type, int width, int height)
    : Texture(GL_TEXTURE_2D, internalFormat, format, type), width(width), height(height) {}

void Texture2D::setData(const void* pixels) {
    bind();
    glTexImage2D(target, 0, internalFormat, width, height, 0, format, type, pixels);
    unbind();
}

void Texture2D::drawFullScreen(kinora::Shader* program) {
    if (screenQuad.vertexArray == 0) {
        createScreenQuad();
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glBlendFunc(GL_ONE, GL_ZERO);
    glBindVertexArray(screenQuad.vertexArray);
    pointScreenQuadAt(program->attributeLocation("vPosition"));
    program->use();
    glUniform1i(program->uniformLocation("texture0"), 0);
    bindToUnit(GL_TEXTURE0);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    unbind();
}

unsigned Texture2D::screenQuadVertexArray() {
    return screenQuad.vertexArray;
}
