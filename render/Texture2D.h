#pragma once

#include "Texture.h"

namespace kinora {
class Shader;
}

// A two-dimensional texture of a fixed size; its storage is allocated by setData.
class Texture2D : public Texture {
public:
    int width;
    int height;

    // Allocates no image storage.
    Texture2D(int internalFormat, unsigned format, unsigned type, int width, int height);

    // Uploads the whole image; null pixels allocate it without content.
    void setData(const void* pixels);

    // Draws this texture over the whole window framebuffer (0) with program, which samples
    // "texture0" on unit 0 and reads the corners from "vPosition". The caller sets the viewport
    // first. The screen quad is created on the first call and serves every later call of the
    // process; it stays bound afterwards, and unit 0 stays active.
    void drawFullScreen(kinora::Shader* program);

    // The screen quad's vertex array, 0 until the first drawFullScreen.
    static unsigned screenQuadVertexArray();
};
