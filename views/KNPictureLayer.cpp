#include "KNPictureLayer.h"

#include "Framebuffer.h"
#include "KNOffscreenImages.h"
#include "Scene.h"
#include "Texture2D.h"

#include <algorithm>
#include <epoxy/gl.h>

KNPictureLayer::KNPictureLayer() = default;
KNPictureLayer::~KNPictureLayer() = default;

KNPictureLayer::Framing KNPictureLayer::framingOf(kinora::Scene& scene,
                                                  const kinora::Framebuffer& target) {
    Framing framing{};
    const kinora::Matrix4 projection = scene.camera.updateProjection().projection;
    const kinora::Matrix4 view = scene.camera.viewMatrix() * scene.transform.modelMatrix();
    std::copy(std::begin(projection.m), std::end(projection.m), framing.projection.begin());
    std::copy(std::begin(view.m), std::end(view.m), framing.view.begin());
    framing.width = target.getWidth();
    framing.height = target.getHeight();
    return framing;
}

void KNPictureLayer::fit(const kinora::Framebuffer& target) {
    if (!layer || layer->getWidth() != target.getWidth() ||
        layer->getHeight() != target.getHeight()) {
        layer.reset();
        picture = makeOffscreenImage(target.getWidth(), target.getHeight());
        layer = makePictureTarget(picture.get(), nullptr);
    }
    layer->clearColor = target.clearColor;
}

void KNPictureLayer::copyInto(kinora::Framebuffer& target) {
    const int width = target.getWidth();
    const int height = target.getHeight();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, layer->id);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, target.id);
    const GLenum pictureOnly[2] = {GL_COLOR_ATTACHMENT0, GL_NONE};
    glDrawBuffers(2, pictureOnly);
    glStencilMask(0xFF);
    glBlitFramebuffer(0, 0, width, height, 0, 0, width, height,
                      GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT,
                      GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}
