#pragma once

#include "Camera.h"
#include "ScenePass.h"
#include "Transform.h"

#include <functional>
#include <vector>

namespace kinora {

class Framebuffer;
class Renderable;

// The renderables of one view under small integer indices, drawn into an off-screen framebuffer
// whose colour attachment 0 is the picture and attachment 1 the pick image. Index i is drawn with
// "objectID" i + 1; the pick program writes that id as 32 bits into the pick image, red the
// highest byte and alpha the lowest, and every other program writes 0 there. The scene owns
// neither the renderables nor the framebuffer.
class Scene {
public:
    // Indices given up by removeRenderable, the most recent last.
    std::vector<int> freeIds;
    // Slot i holds the renderable of index i, or null once freed. Never shrinks.
    std::vector<Renderable*> renderables;
    Framebuffer* framebuffer;
    Camera camera;
    // The whole scene's model transform, folded into "viewMatrix".
    Transform transform;
    bool clearEnabled = true;
    bool blendEnabled = false;
    unsigned blendSrcRGB;
    unsigned blendDstRGB;
    unsigned blendSrcAlpha;
    unsigned blendDstAlpha;
    unsigned blendEquationRGB;
    unsigned blendEquationAlpha;

    // No GL call.
    explicit Scene(Framebuffer* framebuffer);
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Reuses the most recently freed index, else appends a slot.
    int addRenderable(Renderable* renderable);
    // Frees the slot for reuse; the renderable is not deleted. index must be occupied.
    void removeRenderable(int index);
    // Null for a freed slot. index must be one addRenderable returned.
    Renderable* getRenderable(int index) const;

    // Decides, just before renderable r at index is drawn, whether a pass draws it; may set GL
    // state (a stencil test, say) for that one draw.
    using Selection = std::function<bool(int index, Renderable& r)>;

    // Draws every renderable in index order into the framebuffer, picture and pick image alike,
    // with the camera and scene matrices computed once for the pass.
    void draw();
    // The picture alone (colour attachment 0 of target, the scene's framebuffer when null): the
    // renderables that select admits (all when empty), in index order, skipping those whose
    // mesh is too short to draw anything. With clear false the pass draws over what is there.
    void drawPicture(const Selection& select = {}, bool clear = true,
                     Framebuffer* target = nullptr);
    // The same picture drawn over several calls: goes on where pass stands (clearing first
    // when it is fresh and clear is set) until the picture is complete, which it returns, or
    // the deadline has passed. Before a deadline, a renderable of many elements is drawn in
    // parts of ScenePass::elementsPerPart, so one call overruns the deadline by one part at
    // most; at least one part is drawn per call. Every ScenePass::elementsPerPart elements or so
    // the work sent is flushed, so the renderer starts on it while the rest is sent. The parts add
    // up to exactly the picture of one drawPicture as long as nothing drawn, the camera and the
    // target stay as they were; after any change the pass must start again.
    bool drawPicture(ScenePass& pass, const Selection& select, bool clear, Framebuffer& target,
                     ScenePass::Clock::time_point deadline);
    // The pick image alone (colour attachment 1), cleared to no object first unless clear is
    // false: only the renderables pickable admits. Ids are all the pick pass reads, so this is
    // the same image draw() leaves as long as only pickable renderables write ids.
    void drawPickImage(const Selection& pickable, bool clear = true);
    // The index whose id the last draw left at pixel (x, y) of the framebuffer, origin at the
    // lower left, or -1 for the background, a pixel outside the framebuffer or an id beyond
    // the slots. A slot freed since the last draw still returns its index.
    int pick(int x, int y) const;
    // The renderable under pick(x, y), or null.
    Renderable* renderableAt(int x, int y) const;

private:
    bool drawRenderables(Framebuffer& target, const Selection& select, bool skipBlank,
                         ScenePass& pass, ScenePass::Clock::time_point deadline);
};

} // namespace kinora
