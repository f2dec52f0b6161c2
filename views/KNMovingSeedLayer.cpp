#include "KNMovingSeedLayer.h"

#include "Framebuffer.h"
#include "Renderable.h"
#include "Scene.h"
#include "Seed.h"

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
            } else {
                markWith(isSeed(r) ? laterSeedCovers : laterPathNearest);
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
        [&](int index, kinora::Renderable& r) {
            if (moving.hasPath(index)) {
                markWith(movingPathNearest);
                return true;
            }
            if (index > seedIndex && isSeed(r)) {
                onlyWhere(movingPathNearest, movingPathNearest);
                return true;
            }
            return false;
        },
        false, &target);
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
