#include "KNKeptPicture.h"

#include "Framebuffer.h"
#include "Path.h"
#include "Renderable.h"
#include "Scene.h"
#include "Seed.h"

#include <algorithm>

KNKeptPicture::KNKeptPicture() = default;
KNKeptPicture::~KNKeptPicture() = default;

void KNKeptPicture::pathChanged(int index, bool wasBlank, bool isBlank) {
    if (wasBlank && isBlank) {
        return;
    }
    if (!wasBlank || isBlank) {
        invalidate();
        return;
    }
    filling = true;
    if (!key) {
        return;
    }
    const auto at = static_cast<std::size_t>(index);
    // Not reached yet by the pass: it draws the new contents when it gets there.
    if (!keptPass.done && at >= keptPass.renderable) {
        return;
    }
    if (at < drawnEnd) {
        key.reset();
        return;
    }
    keptPass.renderable = at;
    keptPass.element = 0;
    keptPass.done = false;
}

void KNKeptPicture::invalidate() {
    filling = false;
    key.reset();
}

KNKeptPicture::Key KNKeptPicture::keyFor(kinora::Scene& scene, const kinora::Framebuffer& target) {
    Key current{};
    current.framing = KNPictureLayer::framingOf(scene, target);
    current.renderables.assign(scene.renderables.begin(), scene.renderables.end());
    for (kinora::Renderable* r : scene.renderables) {
        if (r == nullptr || dynamic_cast<Path*>(r) != nullptr) {
            continue;
        }
        const kinora::Matrix4 model = r->transform.modelMatrix();
        current.placements.insert(current.placements.end(), std::begin(model.m), std::end(model.m));
        const auto* seed = dynamic_cast<Seed*>(r);
        current.placements.push_back(seed != nullptr && seed->isSelected ? 1.0f : 0.0f);
        current.placements.push_back(static_cast<float>(r->visible));
    }
    return current;
}

void KNKeptPicture::prepare(const kinora::Framebuffer& target) {
    layer.fit(target);
    keptPass = {};
    drawnEnd = 0;
}

bool KNKeptPicture::draw(kinora::Scene& scene, kinora::Framebuffer& target, kinora::ScenePass& pass,
                         kinora::ScenePass::Clock::time_point deadline) {
    if (filling) {
        Key current = keyFor(scene, target);
        if (!key) {
            prepare(target);
            key = std::move(current);
        } else if (*key != current) {
            // Something else changed as well: the filling has been interrupted.
            filling = false;
            key.reset();
        }
    }
    if (!filling) {
        return scene.drawPicture(pass, {}, true, target, deadline);
    }
    return drawKept(scene, target, deadline);
}

bool KNKeptPicture::drawKept(kinora::Scene& scene, kinora::Framebuffer& target,
                             kinora::ScenePass::Clock::time_point deadline) {
    const bool complete = scene.drawPicture(
        keptPass,
        [this](int index, kinora::Renderable& r) {
            if (dynamic_cast<Seed*>(&r) == nullptr) {
                drawnEnd = std::max(drawnEnd, static_cast<std::size_t>(index) + 1);
            }
            return true;
        },
        true, layer.framebuffer(), deadline);

    layer.copyInto(target);
    return complete;
}
