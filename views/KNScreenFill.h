#pragma once

#include <memory>

namespace kinora {
class Framebuffer;
class Mesh;
class Renderable;
class Shader;
} // namespace kinora

// Fills the whole of a target's picture with what a scene program draws there: a quad over the
// clip space, its model, view and projection the identity, with depth test and blending off.
// The stencil and scissor tests stay as the caller set them, so the fill lands only where they
// allow.
// Built at its first draw, with a GL context current.
class KNScreenFill {
public:
    KNScreenFill();
    ~KNScreenFill();
    KNScreenFill(const KNScreenFill&) = delete;
    KNScreenFill& operator=(const KNScreenFill&) = delete;

    void draw(kinora::Shader& program, kinora::Framebuffer& target);

private:
    std::unique_ptr<kinora::Mesh> mesh;
    // Its vertex array points the attributes of the program it was built for.
    std::unique_ptr<kinora::Renderable> quad;
};
