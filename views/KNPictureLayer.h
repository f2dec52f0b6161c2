#pragma once

#include <array>
#include <memory>

class Texture2D;

namespace kinora {
class Framebuffer;
class Scene;
} // namespace kinora

// An off-screen picture with depth and stencil that a view keeps between frames, so that what
// did not change is not drawn again: the size of the target it is shown in, cleared to its
// colour.
class KNPictureLayer {
public:
    KNPictureLayer();
    ~KNPictureLayer();
    KNPictureLayer(const KNPictureLayer&) = delete;
    KNPictureLayer& operator=(const KNPictureLayer&) = delete;

    // What every kept picture depends on: the camera, the scene's placement and the size.
    struct Framing {
        std::array<float, 16> projection;
        std::array<float, 16> view;
        int width;
        int height;
        bool operator==(const Framing&) const = default;
    };
    static Framing framingOf(kinora::Scene& scene, const kinora::Framebuffer& target);

    // Takes target's size, with new images only when it differs, and its clear colour.
    void fit(const kinora::Framebuffer& target);
    kinora::Framebuffer& framebuffer() { return *layer; }
    // Picture, depth and stencil onto target's, which is the layer's size; target's picture
    // alone stays its draw buffer.
    void copyInto(kinora::Framebuffer& target);

private:
    std::unique_ptr<Texture2D> picture;
    std::unique_ptr<kinora::Framebuffer> layer;
};
