#include "KNOffscreenImages.h"

#include "Framebuffer.h"
#include "Texture2D.h"
#include "Vector4.h"

#include <epoxy/gl.h>

std::unique_ptr<Texture2D> makeOffscreenImage(int width, int height) {
    auto texture =
        std::make_unique<Texture2D>(GL_RGBA, GL_RGBA, GL_UNSIGNED_INT_8_8_8_8, width, height);
    texture->setFilter(GL_LINEAR);
    texture->setBorderColor(kinora::Vector4(1.0, 1.0, 0.0, 1.0));
    texture->setData(nullptr);
    return texture;
}

std::unique_ptr<kinora::Framebuffer> makePictureTarget(Texture2D* picture, Texture2D* ids) {
    auto target = std::make_unique<kinora::Framebuffer>(static_cast<float>(picture->width),
                                                        static_cast<float>(picture->height));
    target->attachTexture(picture, GL_COLOR_ATTACHMENT0);
    if (ids != nullptr) {
        target->attachTexture(ids, GL_COLOR_ATTACHMENT1);
    }
    // Depth for the paths, stencil for the plot view's compositing of a moving seed.
    target->attachRenderbuffer(GL_DEPTH24_STENCIL8, GL_DEPTH_STENCIL_ATTACHMENT);
    const GLenum drawBuffers[2] = {GL_COLOR_ATTACHMENT0,
                                   ids != nullptr ? GLenum{GL_COLOR_ATTACHMENT1} : GLenum{GL_NONE}};
    glDrawBuffers(2, drawBuffers);
    target->clearColor = kinora::Vector4(0.0, 0.0, 0.0, 0.0);
    target->clear(GL_COLOR_BUFFER_BIT);
    return target;
}
