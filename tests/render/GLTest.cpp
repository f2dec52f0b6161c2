#include "GLTest.h"

#include "HeadlessContext.h"

#include <epoxy/gl.h>
#include <fstream>
#include <unistd.h>

namespace kinora::test {

void GLTest::SetUp() {
    std::string failureReason;
    ASSERT_TRUE(HeadlessContext::makeCurrent(&failureReason))
        << "no headless OpenGL context: " << failureReason;
    // The context outlives every test: each starts from the GL defaults of what the rendering
    // code and the tests change.
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glBindVertexArray(0);
    glUseProgram(0);
    glActiveTexture(GL_TEXTURE0);
    glDisable(GL_BLEND);
    glBlendEquation(GL_FUNC_ADD);
    glBlendFunc(GL_ONE, GL_ZERO);
    glDisable(GL_DEPTH_TEST);
    glPointSize(1.0f);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    while (glGetError() != GL_NO_ERROR) {
    }
}

void GLTest::TearDown() {
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "a GL call of this test failed";
    if (!temporaryFolder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(temporaryFolder, ignored);
    }
}

std::string GLTest::shaderPath(const std::string& fileName) {
    return std::string(KINORA_TEST_SHADER_DIR) + "/" + fileName;
}

std::unique_ptr<Shader> GLTest::loadProgram(const std::string& vertexFile,
                                            const std::string& fragmentFile) {
    auto shader = std::make_unique<Shader>();
    try {
        shader->load(shaderPath(vertexFile), shaderPath(fragmentFile));
    } catch (const ShaderError& error) {
        ADD_FAILURE() << error.what();
    }
    return shader;
}

std::string GLTest::writeFile(const std::string& name, const std::string& contents) {
    if (temporaryFolder.empty()) {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        temporaryFolder = std::filesystem::temp_directory_path() /
                          ("kinora-render-" + std::to_string(getpid()) + "-" + test->name());
        std::filesystem::create_directories(temporaryFolder);
    }
    const std::filesystem::path path = temporaryFolder / name;
    std::ofstream(path, std::ios::binary) << contents;
    return path.string();
}

int integerState(unsigned query) {
    GLint value = -1;
    glGetIntegerv(query, &value);
    return value;
}

OffscreenTarget::OffscreenTarget(int width, int height)
    : picture(GL_RGBA, GL_RGBA, GL_UNSIGNED_INT_8_8_8_8, width, height),
      pickImage(GL_RGBA, GL_RGBA, GL_UNSIGNED_INT_8_8_8_8, width, height),
      framebuffer(static_cast<float>(width), static_cast<float>(height)) {
    for (Texture2D* texture : {&picture, &pickImage}) {
        texture->setFilter(GL_LINEAR);
        texture->setBorderColor(Vector4(1.0, 1.0, 0.0, 1.0));
        texture->setData(nullptr);
    }
    framebuffer.attachTexture(&picture, GL_COLOR_ATTACHMENT0);
    framebuffer.attachTexture(&pickImage, GL_COLOR_ATTACHMENT1);
    framebuffer.attachRenderbuffer(GL_DEPTH_COMPONENT, GL_DEPTH_ATTACHMENT);
    const GLenum drawBuffers[2] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1};
    glDrawBuffers(2, drawBuffers);
    framebuffer.clearColor = Vector4(0.0, 0.0, 0.0, 0.0);
    framebuffer.clear(GL_COLOR_BUFFER_BIT);
}

std::uint32_t OffscreenTarget::pixel(unsigned attachment, int x, int y) {
    framebuffer.bind();
    glReadBuffer(attachment);
    std::uint32_t value = 0;
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_INT_8_8_8_8, &value);
    glReadBuffer(GL_NONE);
    framebuffer.unbind();
    return value;
}

std::vector<std::uint8_t> OffscreenTarget::pictureRowsTopDown() {
    const auto width = static_cast<std::size_t>(framebuffer.getWidth());
    const auto height = static_cast<std::size_t>(framebuffer.getHeight());
    std::vector<std::uint8_t> bottomUp(width * height * 4);
    framebuffer.bind();
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height), GL_RGBA,
                 GL_UNSIGNED_BYTE, bottomUp.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadBuffer(GL_NONE);
    framebuffer.unbind();
    std::vector<std::uint8_t> topDown(bottomUp.size());
    const std::size_t rowBytes = width * 4;
    for (std::size_t row = 0; row < height; ++row) {
        std::copy_n(bottomUp.begin() + static_cast<std::ptrdiff_t>(row * rowBytes), rowBytes,
                    topDown.begin() + static_cast<std::ptrdiff_t>((height - 1 - row) * rowBytes));
    }
    return topDown;
}

} // namespace kinora::test
