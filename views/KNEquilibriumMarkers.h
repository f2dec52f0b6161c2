#pragma once

#include "Vector3.h"

#include <memory>
#include <vector>

namespace kinora {
class Framebuffer;
class Mesh;
class Renderable;
class Scene;
class Shader;
} // namespace kinora

// The shape of an equilibrium's marker; marker.fsh carves each out of a point by its number.
enum class KNMarkerShape { disc, ring, cross, diamond, hollowDiamond, triangle, square };

// One fixed point shown in the plot view: where it is, the place in the sweep of the evolution it
// belongs to (its colour, as the paths have it) and its shape.
struct KNEquilibriumMarker {
    kinora::Vector3 position;
    float s = 0.0f;
    KNMarkerShape shape = KNMarkerShape::disc;
};

// The equilibria drawn over the plot view's picture, as points of a fixed size in points, with no
// depth test so a marker is never hidden inside the paths that wind around it. Never picked.
// Needs the shared GL context current; owns its mesh and vertex array.
class KNEquilibriumMarkers {
public:
    KNEquilibriumMarkers();
    ~KNEquilibriumMarkers();
    KNEquilibriumMarkers(const KNEquilibriumMarkers&) = delete;
    KNEquilibriumMarkers& operator=(const KNEquilibriumMarkers&) = delete;

    // Takes the markers from the next draw on; none draws nothing.
    void setMarkers(const std::vector<KNEquilibriumMarker>& markers);
    bool isEmpty() const { return count == 0; }
    // Draws them with program (marker.fsh) into colour attachment 0 of target, placed by the
    // scene's camera and transform.
    void draw(kinora::Scene& scene, kinora::Shader& program, kinora::Framebuffer& target,
              double pixelsPerPoint);

    // The marker's side in points.
    static constexpr float size = 14.0f;

private:
    std::unique_ptr<kinora::Mesh> mesh;
    std::unique_ptr<kinora::Renderable> points;
    int count = 0;
};
