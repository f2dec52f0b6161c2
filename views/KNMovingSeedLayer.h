#pragma once

#include "KNPictureLayer.h"
#include "KNScreenFill.h"
#include "ScenePass.h"

#include <memory>
#include <optional>

class Seed;

namespace kinora {
class Framebuffer;
class Scene;
} // namespace kinora

// Draws the plot view's picture while one seed is dragged, without rasterising the other seeds
// again: everything but the moving seed is drawn once into a static layer (picture, depth and
// stencil marks), and each frame restores that layer and draws only the moving seed and its
// paths over it. The picture is the one a full pass in index order gives:
//
// Paths write depth and are depth-tested; seed points are neither, so a seed covers whatever was
// drawn before it and is covered by any later path fragment nearer than everything before it.
// At a pixel the result is thus the nearest path fragment if it comes later than every seed
// covering the pixel, else white. Seeds and their paths take blocks of consecutive indices with
// the seed first, so "later than the moving seed" is one test. The stencil marks of the layer:
//   bit 0 - a static seed later than the moving seed covers the pixel;
//   bit 1 - the nearest static path fragment is later than the moving seed.
// Each frame the moving seed's paths set bit 2 where they are nearest; where bit 0 is set as
// well a later static seed covers them, and the moving seed itself is drawn only where neither
// bit 1 nor bit 2 is set.
class KNMovingSeedLayer {
public:
    KNMovingSeedLayer();
    ~KNMovingSeedLayer();
    KNMovingSeedLayer(const KNMovingSeedLayer&) = delete;
    KNMovingSeedLayer& operator=(const KNMovingSeedLayer&) = delete;

    // Something other than the moving seed changed: the next draw builds the layer again.
    void invalidate();
    // The picture of scene into colour attachment 0 of target (which has a depth-stencil
    // buffer), moving being the only seed that changed since the last call. Camera, scene
    // transform, size and seed are compared with those of the layer, which is rebuilt when any
    // differs. Building a large layer goes on until the deadline and is continued by the next
    // calls; until it is complete (which draw returns) the picture shows the moving seed over
    // the part of the others drawn so far.
    bool draw(kinora::Scene& scene, kinora::Framebuffer& target, const Seed& moving,
              kinora::ScenePass::Clock::time_point deadline);

private:
    // What the layer was drawn for.
    struct Key {
        KNPictureLayer::Framing framing;
        int seedIndex;
        bool operator==(const Key&) const = default;
    };
    static Key keyFor(kinora::Scene& scene, const kinora::Framebuffer& target, const Seed& moving);
    // A rectangle of target pixels, lower left corner inclusive, upper right exclusive.
    struct PixelBounds {
        int left;
        int bottom;
        int right;
        int top;
    };
    void prepare(const kinora::Framebuffer& target);
    // Widens laterSeeds to the pixels seed's point may cover in target.
    void coverSeed(kinora::Scene& scene, const kinora::Framebuffer& target, const Seed& seed);
    bool build(kinora::Scene& scene, const Seed& moving,
               kinora::ScenePass::Clock::time_point deadline);

    KNPictureLayer layer;
    KNScreenFill coverFill;
    std::optional<Key> key;
    kinora::ScenePass buildPass;
    // Where the static seeds later than the moving one may lie (stencil bit 0): the cover fill
    // is kept inside, so it costs what those seeds cover rather than the whole picture.
    std::optional<PixelBounds> laterSeeds;
};
