#include "GLTest.h"
#include "HeadlessContext.h"
#include "Texture2D.h"

#include <epoxy/gl.h>
#include <gmock/gmock.h>

namespace kinora::test {
namespace {

GLint parameter(const Texture& texture, GLenum name) {
    GLint value = -1;
    texture.bind();
    glGetTexParameteriv(texture.target, name, &value);
    texture.unbind();
    return value;
}

using TextureTest = GLTest;

TEST_F(TextureTest, SamplesNearestAndClampsUntilToldOtherwise) {
    Texture2D texture(GL_RGBA, GL_RGBA, GL_UNSIGNED_INT_8_8_8_8, 16, 8);
    EXPECT_EQ(texture.target, static_cast<unsigned>(GL_TEXTURE_2D));
    EXPECT_EQ(integerState(GL_TEXTURE_BINDING_2D), 0);
    for (GLenum name : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER}) {
        EXPECT_EQ(parameter(texture, name), GL_NEAREST);
    }
    for (GLenum name : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_WRAP_R}) {
        EXPECT_EQ(parameter(texture, name), GL_CLAMP_TO_EDGE);
    }

    texture.setFilter(GL_LINEAR);
    texture.setWrap(GL_MIRRORED_REPEAT);
    texture.setBorderColor(Vector4(1.0, 1.0, 0.0, 1.0));
    EXPECT_EQ(integerState(GL_TEXTURE_BINDING_2D), 0);
    for (GLenum name : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER}) {
        EXPECT_EQ(parameter(texture, name), GL_LINEAR);
    }
    for (GLenum name : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_WRAP_R}) {
        EXPECT_EQ(parameter(texture, name), GL_MIRRORED_REPEAT);
    }
    float border[4] = {};
    texture.bind();
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
    texture.unbind();
    EXPECT_THAT(border, ::testing::ElementsAre(1.0f, 1.0f, 0.0f, 1.0f));
}

TEST_F(TextureTest, AllocatesItsImageAndUploadsPixelsInItsFormat) {
    Texture2D texture(GL_RGBA, GL_RGBA, GL_UNSIGNED_INT_8_8_8_8, 3, 2);
    texture.setData(nullptr);
    GLint width = 0;
    GLint height = 0;
    texture.bind();
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    texture.unbind();
    EXPECT_EQ(width, 3);
    EXPECT_EQ(height, 2);

    const std::uint32_t pixels[6] = {0x11223344, 0x55667788, 0x99AABBCC,
                                     0xDDEEFF00, 0x01020304, 0xFFFFFFFF};
    texture.setData(pixels);
    std::uint32_t readBack[6] = {};
    texture.bind();
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_INT_8_8_8_8, readBack);
    texture.unbind();
    EXPECT_THAT(readBack, ::testing::ElementsAreArray(pixels));
}

TEST_F(TextureTest, BindsToAUnitThatStaysActiveAndIsDeletedWithItsObject) {
    auto texture = std::make_unique<Texture2D>(GL_RGBA, GL_RGBA, GL_UNSIGNED_BYTE, 4, 4);
    const GLuint id = texture->id;
    texture->bindToUnit(GL_TEXTURE3);
    EXPECT_EQ(integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE3);
    EXPECT_EQ(integerState(GL_TEXTURE_BINDING_2D), static_cast<GLint>(id));
    texture->unbind();
    glActiveTexture(GL_TEXTURE0);
    EXPECT_TRUE(glIsTexture(id));
    texture.reset();
    EXPECT_FALSE(glIsTexture(id));
}

// Copies a texture of four coloured quadrants onto the window and reads the window back.
class FullScreenTest : public GLTest {
protected:
    static constexpr std::uint32_t quadrants[4] = {0xFF0000FF, 0x00FF00FF, 0x0000FFFF, 0xFFFFFFFF};

    void SetUp() override {
        GLTest::SetUp();
        picture = std::make_unique<Texture2D>(GL_RGBA, GL_RGBA, GL_UNSIGNED_INT_8_8_8_8, 2, 2);
        picture->setFilter(GL_NEAREST);
        picture->setData(quadrants);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glViewport(0, 0, HeadlessContext::surfaceWidth, HeadlessContext::surfaceHeight);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    std::uint32_t windowAt(int x, int y) {
        std::uint32_t value = 0;
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_INT_8_8_8_8, &value);
        return value;
    }

    void expectQuadrantsOnTheWindow() {
        const int w = HeadlessContext::surfaceWidth;
        const int h = HeadlessContext::surfaceHeight;
        EXPECT_EQ(windowAt(1, 1), quadrants[0]);
        EXPECT_EQ(windowAt(w - 2, 1), quadrants[1]);
        EXPECT_EQ(windowAt(1, h - 2), quadrants[2]);
        EXPECT_EQ(windowAt(w - 2, h - 2), quadrants[3]);
    }

    std::unique_ptr<Texture2D> picture;
};

TEST_F(FullScreenTest, CopiesThePictureOverTheWholeWindowWithOneSharedQuad) {
    const auto display = loadProgram("display.vsh", "display.fsh");
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    display->use();
    display->setUniform1f("aspectRatio", 1.0f);
    picture->drawFullScreen(display.get());
    glDisable(GL_BLEND);
    expectQuadrantsOnTheWindow();

    const unsigned quad = Texture2D::screenQuadVertexArray();
    ASSERT_NE(quad, 0u);
    EXPECT_TRUE(glIsVertexArray(quad));
    EXPECT_EQ(integerState(GL_VERTEX_ARRAY_BINDING), static_cast<GLint>(quad));
    EXPECT_EQ(integerState(GL_DRAW_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(integerState(GL_BLEND_SRC_RGB), GL_ONE);
    EXPECT_EQ(integerState(GL_BLEND_DST_RGB), GL_ZERO);
    EXPECT_EQ(integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_EQ(integerState(GL_TEXTURE_BINDING_2D), 0);

    // Another display program of the same files, as a second view has, reuses the quad.
    const auto secondDisplay = loadProgram("display.vsh", "display.fsh");
    glClear(GL_COLOR_BUFFER_BIT);
    picture->drawFullScreen(secondDisplay.get());
    EXPECT_EQ(Texture2D::screenQuadVertexArray(), quad);
    expectQuadrantsOnTheWindow();
    glBindVertexArray(0);
}

TEST_F(FullScreenTest, ADisplayProgramWithItsCornersElsewhereStillCoversTheWindow) {
    const std::string vertexPath =
        writeFile("moved.vsh", "#version 330 core\n"
                               "layout(location = 5) in vec3 vPosition;\n"
                               "out vec2 textureCoordinate;\n"
                               "void main() {\n"
                               "  textureCoordinate = vPosition.xy * "
                               "0.5 + 0.5;\n"
                               "  gl_Position = vec4(vPosition, 1.0);\n"
                               "}\n");
    Shader moved;
    moved.load(vertexPath, shaderPath("display.fsh"));
    ASSERT_EQ(moved.attributeLocation("vPosition"), 5);
    picture->drawFullScreen(&moved);
    expectQuadrantsOnTheWindow();
    glBindVertexArray(0);
}

} // namespace
} // namespace kinora::test
