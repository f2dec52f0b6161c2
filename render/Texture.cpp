#include "Texture.h"

#include <epoxy/gl.h>

Texture::Texture(unsigned target, int internalFormat, unsigned format, unsigned type)
    : target(target), internalFormat(internalFormat), format(format), type(type) {
    glGenTextures(1, &id);
    bind();
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(target, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(target, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    glTexParameteri(target, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    unbind();
}

Texture::~Texture() {
    glDeleteTextures(1, &id);
}

void Texture::bind() const {
    glBindTexture(target, id);
}

void Texture::unbind() const {
    glBindTexture(target, 0);
}

void Texture::bindToUnit(unsigned unit) const {
    glActiveTexture(unit);
    glBindTexture(target, id);
}

void Texture::setFilter(int mode) {
    bind();
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, mode);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, mode);
    unbind();
}

void Texture::setWrap(int mode) {
    bind();
    glTexParameteri(target, GL_TEXTURE_WRAP_S, mode);
    glTexParameteri(target, GL_TEXTURE_WRAP_R, mode);
    glTexParameteri(target, GL_TEXTURE_WRAP_T, mode);
    unbind();
}

void Texture::setBorderColor(kinora::Vector4 color) {
    const float components[4] = {static_cast<float>(color.x), static_cast<float>(color.y),
                                 static_cast<float>(color.z), static_cast<float>(color.w)};
    bind();
    glTexParameterfv(target, GL_TEXTURE_BORDER_COLOR, components);
    unbind();
}
