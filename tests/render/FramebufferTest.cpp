#include "Framebuffer.h"

#include "GLTest.h"
#include "Texture2D.h"

#include <cmath>
#include <epoxy/gl.h>

namespace kinora::test {
namespace {

GLint attachedName(GLenum attachment) {
    GLint name = -1;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, attachment,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &name);
    return name;
}

using FramebufferTest = GLTest;

TEST_F(FramebufferTest, TruncatesItsSizeTowardZeroAndRefusesNonsense) {
    const Framebuffer framebuffer(479.9f, 320.5f);
    EXPECT_EQ(framebuffer.getWidth(), 479);
    EXPECT_EQ(framebuffer.getHeight(), 320);
    EXPECT_NE(framebuffer.id, 0u);

    const Framebuffer degenerate(-3.0f, std::nanf(""));
    EXPECT_EQ(degenerate.getWidth(), 0);
    EXPECT_EQ(degenerate.getHeight(), 0);
    const Framebuffer huge(1e30f, 0.5f);
    EXPECT_GT(huge.getWidth(), 0);
    EXPECT_EQ(huge.getHeight(), 0);
}

TEST_F(FramebufferTest, AttachingLeavesItBoundAndASecondRenderbufferReplacesTheFirst) {
    Texture2D texture(GL_RGBA, GL_RGBA, GL_UNSIGNED_INT_8_8_8_8, 40, 30);
    texture.setData(nullptr);
    Framebuffer framebuffer(40.0f, 30.0f);

    framebuffer.attachTexture(&texture, GL_COLOR_ATTACHMENT0);
    EXPECT_EQ(integerState(GL_FRAMEBUFFER_BINDING), static_cast<GLint>(framebuffer.id));
    EXPECT_EQ(attachedName(GL_COLOR_ATTACHMENT0), static_cast<GLint>(texture.id));
    GLint boundTexture = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
    EXPECT_EQ(boundTexture, 0);

    framebuffer.unbind();
    framebuffer.attachRenderbuffer(GL_DEPTH_COMPONENT, GL_DEPTH_ATTACHMENT);
    EXPECT_EQ(integerState(GL_FRAMEBUFFER_BINDING), static_cast<GLint>(framebuffer.id));
    ASSERT_EQ(framebuffer.renderbuffers.size(), 1u);
    const GLuint first = framebuffer.renderbuffers.at(GL_DEPTH_ATTACHMENT);
    GLint width = 0;
    GLint height = 0;
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_WIDTH, &width);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_HEIGHT, &height);
    EXPECT_EQ(width, 40);
    EXPECT_EQ(height, 30);

    framebuffer.attachRenderbuffer(GL_DEPTH_COMPONENT16, GL_DEPTH_ATTACHMENT);
    ASSERT_EQ(framebuffer.renderbuffers.size(), 1u);
    const GLuint second = framebuffer.renderbuffers.at(GL_DEPTH_ATTACHMENT);
    EXPECT_NE(second, first);
    EXPECT_FALSE(glIsRenderbuffer(first));
    EXPECT_EQ(attachedName(GL_DEPTH_ATTACHMENT), static_cast<GLint>(second));
    EXPECT_EQ(framebuffer.status(), static_cast<unsigned>(GL_FRAMEBUFFER_COMPLETE));
    EXPECT_EQ(integerState(GL_FRAMEBUFFER_BINDING), 0);
}

TEST_F(FramebufferTest, ClearsEveryDrawBufferWithItsClearColourAndUnbinds) {
    OffscreenTarget target(8, 8);
    target.framebuffer.clearColor = Vector4(1.0, 0.0, 1.0, 0.0);
    target.framebuffer.clear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(integerState(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(target.pixel(GL_COLOR_ATTACHMENT0, 3, 3), 0xFF00FF00u);
    EXPECT_EQ(target.pixel(GL_COLOR_ATTACHMENT1, 7, 0), 0xFF00FF00u);

    // With only the picture as draw buffer the pick image is left alone.
    const GLenum pictureOnly = GL_COLOR_ATTACHMENT0;
    target.framebuffer.setDrawBuffers(1, &pictureOnly);
    EXPECT_EQ(integerState(GL_FRAMEBUFFER_BINDING), 0);
    target.framebuffer.clearColor = Vector4(0.0, 0.0, 0.0, 1.0);
    target.framebuffer.clear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(target.pixel(GL_COLOR_ATTACHMENT0, 3, 3), 0x000000FFu);
    EXPECT_EQ(target.pixel(GL_COLOR_ATTACHMENT1, 3, 3), 0xFF00FF00u);
}

TEST_F(FramebufferTest, DestructionDeletesItsRenderbuffersButNotItsTextures) {
    auto target = std::make_unique<OffscreenTarget>(8, 8);
    auto framebuffer = std::make_unique<Framebuffer>(8.0f, 8.0f);
    framebuffer->attachTexture(&target->picture, GL_COLOR_ATTACHMENT0);
    framebuffer->attachRenderbuffer(GL_DEPTH_COMPONENT, GL_DEPTH_ATTACHMENT);
    framebuffer->attachRenderbuffer(GL_STENCIL_INDEX8, GL_STENCIL_ATTACHMENT);
    framebuffer->unbind();
    const GLuint id = framebuffer->id;
    const GLuint depth = framebuffer->renderbuffers.at(GL_DEPTH_ATTACHMENT);
    const GLuint stencil = framebuffer->renderbuffers.at(GL_STENCIL_ATTACHMENT);

    framebuffer.reset();
    EXPECT_FALSE(glIsFramebuffer(id));
    EXPECT_FALSE(glIsRenderbuffer(depth));
    EXPECT_FALSE(glIsRenderbuffer(stencil));
    EXPECT_TRUE(glIsTexture(target->picture.id));
}

} // namespace
} // namespace kinora::test
