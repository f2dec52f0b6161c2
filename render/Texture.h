#pragma once

#include "Vector4.h"

// A GL texture name with the formats its uploads use. New textures sample with nearest filtering
// and clamp to their edges. Needs a current GL context throughout.
class Texture {
public:
    unsigned target;
    int internalFormat;
    unsigned format;
    unsigned type;
    unsigned id = 0;

    Texture(unsigned target, int internalFormat, unsigned format, unsigned type);
    virtual ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    void bind() const;
    void unbind() const;
    // unit is GL_TEXTURE0 + n; it stays the active unit.
    void bindToUnit(unsigned unit) const;
    // Minification and magnification alike.
    void setFilter(int mode);
    // S, R and T alike.
    void setWrap(int mode);
    void setBorderColor(kinora::Vector4 color);
};
