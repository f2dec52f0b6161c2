#pragma once

#include "KNPictureLayer.h"
#include "ScenePass.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

namespace kinora {
class Framebuffer;
class Renderable;
class Scene;
} // namespace kinora

// The plot view's picture (without what is drawn over it), kept between redraws so that paths
// filled since it was drawn are drawn onto it rather than drawing everything again: a long
// recomputation's progress pictures then cost one picture in all, not one each.
//
// The picture is kept only while blank paths are being filled (a long recomputation that blanked
// the paths it has yet to compute); otherwise it is drawn straight into the target, as a copy
// would only cost time. It gives the picture of a full pass in index order as long as every
// filled path was blank and came after every non-blank path the kept picture holds. Then the pass
// is continued from the first filled path: what follows is either blank, filled since, or a seed,
// and a seed is drawn without depth over whatever came before it, so drawing it again changes
// nothing but the new paths' fragments it covers, as the full pass does. Any other change (camera,
// size, seeds, a path replaced while not blank) draws the picture again from the start.
class KNKeptPicture {
public:
    KNKeptPicture();
    ~KNKeptPicture();
    KNKeptPicture(const KNKeptPicture&) = delete;
    KNKeptPicture& operator=(const KNKeptPicture&) = delete;

    // The path at scene index was given new contents; wasBlank and isBlank tell whether it drew
    // nothing before and after.
    void pathChanged(int index, bool wasBlank, bool isBlank);
    // Every path changed at once (the part of them shown): the next draw starts afresh.
    void invalidate();
    // The scene's picture into target (colour attachment 0, depth and stencil), going on until
    // the deadline (see kinora::Scene::drawPicture): the kept one continued and copied into
    // target while blank paths are being filled, else drawn straight into target where pass
    // stands. Returns whether it is complete.
    bool draw(kinora::Scene& scene, kinora::Framebuffer& target, kinora::ScenePass& pass,
              kinora::ScenePass::Clock::time_point deadline);

private:
    // Everything the picture depends on but the paths' contents.
    struct Key {
        KNPictureLayer::Framing framing;
        std::vector<const kinora::Renderable*> renderables;
        // Model matrix and selection of every renderable but the paths.
        std::vector<float> placements;
        bool operator==(const Key&) const = default;
    };
    static Key keyFor(kinora::Scene& scene, const kinora::Framebuffer& target);
    void prepare(const kinora::Framebuffer& target);
    bool drawKept(kinora::Scene& scene, kinora::Framebuffer& target,
                  kinora::ScenePass::Clock::time_point deadline);

    KNPictureLayer layer;
    // Set by a blank path filled, cleared by any other change.
    bool filling = false;
    std::optional<Key> key;
    kinora::ScenePass keptPass;
    // One past the last index whose renderable (a seed aside) drew something into the picture.
    std::size_t drawnEnd = 0;
};
