#include "KNMovingSeedLayer.h"

#include "Framebuffer.h"
#include "KNRenderCallbacks.h"
#include "Matrix4.h"
#include "Renderable.h"
#include "Scene.h"
#include "Seed.h"

#include <algorithm>
#include <cmath>
#include <epoxy/gl.h>

namespace {

constexpr GLuint laterSeedCovers = 1;
constexpr GLuint laterPathNearest = 2;
constexpr GLuint movingPathNearest = 4;

bool isSeed(kinora::Renderable& r) {
    return dynamic_cast<Seed*>(&r) != nullptr;
}

// Stencil writes of value (within mask bits) wherever the fragment is drawn.
void markWith(GLuint bits) {
    glStencilFunc(GL_ALWAYS, static_cast<GLint>(bits), bits);
    glStencilMask(bits);
    glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
}

// Only where the bits of mask equal value; no stencil writes.
void onlyWhere(GLuint mask, GLuint value) {
    glStencilFunc(GL_EQUAL, static_cast<GLint>(value), mask);
    glStencilMask(0);
}

} // namespace

KNMovingSeedLayer::KNMovingSeedLayer() = default;
KNMovingSeedLayer::~KNMovingSeedLayer() = default;

void KNMovingSeedLayer::invalidate() {
    key.reset();
}

KNMovingSeedLayer::Key KNMovingSeedLayer::keyFor(kinora::Scene& scene,
                                                 const kinora::Framebuffer& target,
                                                 const Seed& moving) {
    return {KNPictureLayer::framingOf(scene, target), moving.sceneID};
}

void KNMovingSeedLayer::prepare(const kinora::Framebuffer& target) {
    layer.fit(target);
    buildPass = {};
    laterSeeds.reset();
}

void KNMovingSeedLayer::coverSeed(kinora::Scene& scene, const kinora::Framebuffer& target,
                                  const Seed& seed) {
    // The seed's point is its origin: the last column of projection x view x model.
    const kinora::Matrix4 toClip = scene.camera.updateProjection().projection *
                                   scene.camera.viewMatrix() * scene.transform.modelMatrix() *
                                   seed.transform.modelMatrix();
    const float w = toClip.m[15];
    // Behind the eye the point is clipped away.
    if (!(w > 0.0f)) {
        return;
    }
    const double width = target.getWidth();
    const double height = target.getHeight();
    const double x = (toClip.m[12] / w + 1.0) * 0.5 * width;
    const double y = (toClip.m[13] / w + 1.0) * 0.5 * height;
    // A pixel away for rounding.
    const double reach = seedPointSize(seed) * 0.5 + 1.0;
    const auto clamped = [](double v, double limit) {
        return static_cast<int>(std::clamp(v, 0.0, limit));
    };
    const PixelBounds covered{
        clamped(std::floor(x - reach), width), clamped(std::floor(y - reach), height),
        clamped(std::ceil(x + reach), width), clamped(std::ceil(y + reach), height)};
    if (!laterSeeds) {
        laterSeeds = covered;
        return;
    }
    laterSeeds->left = std::min(laterSeeds->left, covered.left);
    laterSeeds->bottom = std::min(laterSeeds->bottom, covered.bottom);
    laterSeeds->right = std::max(laterSeeds->right, covered.right);
    laterSeeds->top = std::max(laterSeeds->top, covered.top);
}

bool KNMovingSeedLayer::build(kinora::Scene& scene, const Seed& moving,
                              kinora::ScenePass::Clock::time_point deadline) {
    const int seedIndex = moving.sceneID;
    glStencilMask(0xFF);
    glEnable(GL_STENCIL_TEST);
    const bool complete = scene.drawPicture(
        buildPass,
        [&](int index, kinora::Renderable& r) {
            if (index == seedIndex || moving.hasPath(index)) {
                return false;
            }
            if (index < seedIndex) {
                glStencilMask(0);
            } else if (isSeed(r)) {
                coverSeed(scene, layer.framebuffer(), static_cast<const Seed&>(r));
                markWith(laterSeedCovers);
            } else {
                markWith(laterPathNearest);
            }
            return true;
        },
        true, layer.framebuffer(), deadline);
    glStencilMask(0xFF);
    glDisable(GL_STENCIL_TEST);
    return complete;
}

bool KNMovingSeedLayer::draw(kinora::Scene& scene, kinora::Framebuffer& target, const Seed& moving,
                             kinora::ScenePass::Clock::time_point deadline) {
    const Key current = keyFor(scene, target, moving);
    if (!key || *key != current) {
        prepare(target);
        key = current;
    }
    const bool complete = build(scene, moving, deadline);

    layer.copyInto(target);

    const int seedIndex = moving.sceneID;
    glEnable(GL_STENCIL_TEST);
    scene.drawPicture(
        [&](int index, kinora::Renderable&) {
            if (!moving.hasPath(index)) {
                return false;
            }
            markWith(movingPathNearest);
            return true;
        },
        false, &target);
    // Where the moving paths are nearest, a later seed covers them as it covers everything
    // drawn before it. Seeds are all drawn alike in one colour, so filling where they lie
    // stands for drawing each of them again.
    if (laterSeeds) {
        onlyWhere(laterSeedCovers | movingPathNearest, laterSeedCovers | movingPathNearest);
        glEnable(GL_SCISSOR_TEST);
        glScissor(laterSeeds->left, laterSeeds->bottom, laterSeeds->right - laterSeeds->left,
                  laterSeeds->top - laterSeeds->bottom);
        coverFill.draw(*moving.shader, target);
        glDisable(GL_SCISSOR_TEST);
    }
    scene.drawPicture(
        [&](int index, kinora::Renderable&) {
            if (index != seedIndex) {
                return false;
            }
            onlyWhere(movingPathNearest | laterPathNearest, 0);
            return true;
        },
        false, &target);
    glStencilMask(0xFF);
    glDisable(GL_STENCIL_TEST);
    return complete;
}
