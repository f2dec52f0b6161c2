#pragma once

#include "Vector4.h"

#include <map>

class Texture2D;

namespace kinora {

// An off-screen GL framebuffer of a fixed size. It owns the renderbuffers it creates, one per
// attachment point, but not the textures attached to it. A new size is a new framebuffer.
// Needs a current GL context throughout.
class Framebuffer {
public:
    // Attachment point -> renderbuffer name; owned.
    std::map<unsigned, unsigned> renderbuffers;
    unsigned id = 0;
    int width;
    int height;
    // Used by clear(); set directly by the owner.
    Vector4 clearColor{0.0, 0.0, 0.0, 0.0};

    // The size truncated toward zero; a negative or NaN size counts as 0.
    Framebuffer(float width, float height);
    ~Framebuffer();
    Framebuffer(const Framebuffer&) = delete;
    Framebuffer& operator=(const Framebuffer&) = delete;

    // Both attach operations leave this framebuffer bound, so glDrawBuffers may follow at once.
    void attachTexture(Texture2D* texture, unsigned attachment);
    // A new renderbuffer of the framebuffer's size; one already at the attachment is deleted.
    void attachRenderbuffer(unsigned internalFormat, unsigned attachment);
    void setDrawBuffers(int count, const unsigned* buffers);
    // glCheckFramebufferStatus, for diagnostics.
    unsigned status();
    void bind();
    // Binds the window's framebuffer (0).
    void unbind();
    int getWidth() const { return width; }
    int getHeight() const { return height; }
    // Clears the buffers of mask with clearColor; leaves the window's framebuffer bound.
    void clear(unsigned mask);
};

} // namespace kinora
