#pragma once

#include <memory>

class Texture2D;

namespace kinora {
class Framebuffer;
}

// The off-screen images a view's pictures are drawn into. Need a current GL context.

// An RGBA image of width x height, allocated without content.
std::unique_ptr<Texture2D> makeOffscreenImage(int width, int height);
// A framebuffer drawing the picture into picture and, unless ids is null, the pick image into
// ids, with depth and stencil of its own; both cleared to transparent black.
std::unique_ptr<kinora::Framebuffer> makePictureTarget(Texture2D* picture, Texture2D* ids);
