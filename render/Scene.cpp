#include "Scene.h"

#include "Framebuffer.h"
#include "Renderable.h"
#include "Shader.h"

#include <cstdint>
#include <epoxy/gl.h>
#include <limits>

namespace kinora {

Scene::Scene(Framebuffer* framebuffer)
    : framebuffer(framebuffer), blendSrcRGB(GL_SRC_ALPHA), blendDstRGB(GL_ONE_MINUS_SRC_ALPHA),
      blendSrcAlpha(GL_SRC_ALPHA), blendDstAlpha(GL_ONE_MINUS_SRC_ALPHA),
      blendEquationRGB(GL_FUNC_ADD), blendEquationAlpha(GL_FUNC_ADD) {}

int Scene::addRenderable(Renderable* renderable) {
    if (freeIds.empty()) {
        renderables.push_back(renderable);
        return static_cast<int>(renderables.size()) - 1;
    }
    const int index = freeIds.back();
    freeIds.pop_back();
    renderables[static_cast<std::size_t>(index)] = renderable;
    return index;
}

void Scene::removeRenderable(int index) {
    renderables[static_cast<std::size_t>(index)] = nullptr;
    freeIds.push_back(index);
}

Renderable* Scene::getRenderable(int index) const {
    return renderables[static_cast<std::size_t>(index)];
}

void Scene::draw() {
    // The single-image passes leave their own draw buffers on the framebuffer.
    framebuffer->bind();
    const GLenum both[2] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1};
    glDrawBuffers(2, both);
    if (clearEnabled) {
        framebuffer->clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    framebuffer->bind();
    ScenePass pass;
    drawRenderables(*framebuffer, {}, false, pass, ScenePass::Clock::time_point::max());
}

void Scene::drawPicture(const Selection& select, bool clear, Framebuffer* target) {
    ScenePass pass;
    drawPicture(pass, select, clear, target != nullptr ? *target : *framebuffer,
                ScenePass::Clock::time_point::max());
}

bool Scene::drawPicture(ScenePass& pass, const Selection& select, bool clear, Framebuffer& into,
                        ScenePass::Clock::time_point deadline) {
    if (pass.done) {
        return true;
    }
    into.bind();
    const GLenum pictureOnly[2] = {GL_COLOR_ATTACHMENT0, GL_NONE};
    glDrawBuffers(2, pictureOnly);
    if (pass.isFresh() && clear && clearEnabled) {
        const auto& c = into.clearColor;
        const float colour[4] = {static_cast<float>(c.x), static_cast<float>(c.y),
                                 static_cast<float>(c.z), static_cast<float>(c.w)};
        glClearBufferfv(GL_COLOR, 0, colour);
        glClearBufferfi(GL_DEPTH_STENCIL, 0, 1.0f, 0);
    }
    return drawRenderables(into, select, true, pass, deadline);
}

void Scene::drawPickImage(const Selection& pickable, bool clear) {
    framebuffer->bind();
    const GLenum idsOnly[2] = {GL_NONE, GL_COLOR_ATTACHMENT1};
    glDrawBuffers(2, idsOnly);
    if (clear) {
        const GLuint noObject[4] = {0, 0, 0, 0};
        glClearBufferuiv(GL_COLOR, 1, noObject);
    }
    ScenePass pass;
    drawRenderables(*framebuffer, pickable, true, pass, ScenePass::Clock::time_point::max());
}

bool Scene::drawRenderables(Framebuffer& target, const Selection& select, bool skipBlank,
                            ScenePass& pass, ScenePass::Clock::time_point deadline) {
    glViewport(0, 0, target.getWidth(), target.getHeight());
    if (blendEnabled) {
        glEnable(GL_BLEND);
        glBlendEquationSeparate(blendEquationRGB, blendEquationAlpha);
        glBlendFuncSeparate(blendSrcRGB, blendDstRGB, blendSrcAlpha, blendDstAlpha);
    } else {
        glDisable(GL_BLEND);
    }

    const Matrix4 inverseView = camera.inverseViewMatrix();
    const Matrix4 view = camera.viewMatrix() * transform.modelMatrix();
    const Matrix4 projection = camera.updateProjection().projection;

    // Indexed rather than iterated: a prepareDraw hook may add a renderable during the pass.
    bool drewSomething = false;
    // Elements sent since the renderer was last told to start on them: in a long picture it
    // rasterises each part while the next is sent, rather than all of it at the end.
    int unflushed = 0;
    while (pass.renderable < renderables.size()) {
        const auto index = static_cast<int>(pass.renderable);
        Renderable* renderable = renderables[pass.renderable];
        if (renderable == nullptr || (skipBlank && renderable->drawsNothing())) {
            pass.advance();
            continue;
        }
        if (drewSomething && ScenePass::Clock::now() >= deadline) {
            target.unbind();
            return false;
        }
        // Asked again for every part: it may set GL state for the draw that follows.
        if (select && !select(index, *renderable)) {
            pass.advance();
            continue;
        }
        const Shader* shader = renderable->shader;
        shader->use();
        shader->setUniformMatrix4fv("projectionMatrix", 1, false, projection.m);
        shader->setUniformMatrix4fv("viewMatrix", 1, false, view.m);
        shader->setUniformMatrix4fv("inverseViewMatrix", 1, false, inverseView.m);
        shader->setUniform1i("objectID", index + 1);
        // Without a deadline nothing is gained by cutting a renderable into parts.
        const bool unbounded = deadline == ScenePass::Clock::time_point::max();
        const int first = pass.element;
        pass.element = renderable->drawPart(
            pass.element, unbounded ? std::numeric_limits<int>::max() : ScenePass::elementsPerPart);
        unflushed += pass.element - first;
        if (unflushed >= ScenePass::elementsPerPart) {
            glFlush();
            unflushed = 0;
        }
        drewSomething = true;
        if (pass.element >= renderable->elementCount()) {
            pass.advance();
        }
    }
    pass.done = true;
    target.unbind();
    return true;
}

int Scene::pick(int x, int y) const {
    // Outside the framebuffer glReadPixels leaves the value undefined.
    if (x < 0 || y < 0 || x >= framebuffer->getWidth() || y >= framebuffer->getHeight()) {
        return -1;
    }
    framebuffer->bind();
    glReadBuffer(GL_COLOR_ATTACHMENT1);
    std::uint32_t id = 0;
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_INT_8_8_8_8, &id);
    glReadBuffer(GL_NONE);
    framebuffer->unbind();
    // Id 0 is the background: wrapping to the largest value puts it outside the slots.
    const std::uint32_t index = id - 1u;
    if (index >= renderables.size()) {
        return -1;
    }
    return static_cast<int>(index);
}

Renderable* Scene::renderableAt(int x, int y) const {
    const int index = pick(x, y);
    return index == -1 ? nullptr : getRenderable(index);
}

} // namespace kinora
