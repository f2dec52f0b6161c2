#pragma once

#include "Matrix4.h"
#include "Vector3.h"

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace kinora {
class Framebuffer;
class Mesh;
class Renderable;
class Shader;
} // namespace kinora

// The section plane and its crossings in the plot view, drawn over the picture of the paths:
// the plane as a translucent rectangle with an outline (paths in front of it stay untinted where
// the picture's depth is there), the crossings as dots coloured by s that nothing hides. Needs
// the shared GL context for everything but its constructor.
class KNSectionOverlay {
public:
    KNSectionOverlay();
    ~KNSectionOverlay();
    KNSectionOverlay(const KNSectionOverlay&) = delete;
    KNSectionOverlay& operator=(const KNSectionOverlay&) = delete;

    // Makes the meshes; flat colours the plane, ramp the dots.
    void setUp(kinora::Shader* flat, kinora::Shader* ramp);
    // The plane's corners in order around it, or none to hide plane and dots.
    void setPlane(const std::optional<std::array<kinora::Vector3, 4>>& corners);
    // x, y, z and s of every dot, four numbers each.
    void setDots(const std::vector<float>& dots);
    bool isShown() const { return shown; }

    // Draws into target's picture with the scene's matrices.
    void draw(kinora::Framebuffer& target, const kinora::Matrix4& projection,
              const kinora::Matrix4& view, double pixelsPerPoint);

private:
    bool shown = false;
    int dotCount = 0;
    std::unique_ptr<kinora::Mesh> planeMesh;
    std::unique_ptr<kinora::Mesh> outlineMesh;
    std::unique_ptr<kinora::Mesh> dotMesh;
    std::unique_ptr<kinora::Renderable> plane;
    std::unique_ptr<kinora::Renderable> outline;
    std::unique_ptr<kinora::Renderable> dots;
};
