#include "Framebuffer.h"

#include "Texture2D.h"

#include <cmath>
#include <epoxy/gl.h>
#include <limits>

namespace kinora {

namespace {

// Truncation toward zero without the undefined conversion of a NaN or out-of-range float.
int pixelCount(float size) {
    if (!(size >= 1.0f)) {
        return 0;
    }
    if (size >= static_cast<float>(std::numeric_limits<int>::max())) {
        return std::numeric_limits<int>::max();
    }
    return static_cast<int>(std::trunc(size));
}

} // namespace

Framebuffer::Framebuffer(float width, float height)
    : width(pixelCount(width)), height(pixelCount(height)) {
    glGenFramebuffers(1, &id);
}

Framebuffer::~Framebuffer() {
    glDeleteFramebuffers(1, &id);
    for (const auto& [attachment, renderbuffer] : renderbuffers) {
        glDeleteRenderbuffers(1, &renderbuffer);
    }
}

void Framebuffer::attachTexture(Texture2D* texture, unsigned attachment) {
    bind();
    texture->bind();
    glFramebufferTexture2D(GL_FRAMEBUFFER, attachment, GL_TEXTURE_2D, texture->id, 0);
    texture->unbind();
}

void Framebuffer::attachRenderbuffer(unsigned internalFormat, unsigned attachment) {
    bind();
    GLuint renderbuffer = 0;
    glGenRenderbuffers(1, &renderbuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, internalFormat, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, attachment, GL_RENDERBUFFER, renderbuffer);
    const auto previous = renderbuffers.find(attachment);
    if (previous != renderbuffers.end()) {
        glDeleteRenderbuffers(1, &previous->second);
    }
    renderbuffers[attachment] = renderbuffer;
}

void Framebuffer::setDrawBuffers(int count, const unsigned* buffers) {
    bind();
    glDrawBuffers(count, buffers);
    unbind();
}

unsigned Framebuffer::status() {
    bind();
    const GLenum result = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    unbind();
    return result;
}

void Framebuffer::bind() {
    glBindFramebuffer(GL_FRAMEBUFFER, id);
}

void Framebuffer::unbind() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void Framebuffer::clear(unsigned mask) {
    bind();
    glClearColor(static_cast<float>(clearColor.x), static_cast<float>(clearColor.y),
                 static_cast<float>(clearColor.z), static_cast<float>(clearColor.w));
    glClear(mask);
    unbind();
}

} // namespace kinora
