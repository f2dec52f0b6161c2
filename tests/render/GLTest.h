#pragma once

#include "Framebuffer.h"
#include "Shader.h"
#include "Texture2D.h"

#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace kinora::test {

// Base of every test that needs GL: makes the process's headless context current, starts with
// no pending GL error and fails a test that leaves one behind, so an invalid GL call made by the
// code under test does not pass unnoticed.
class GLTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A file of the source tree's shaders/ folder.
    static std::string shaderPath(const std::string& fileName);
    // A program linked from two files of shaders/; fails the test if it does not link.
    static std::unique_ptr<Shader> loadProgram(const std::string& vertexFile,
                                               const std::string& fragmentFile);
    // Writes contents to a file in a folder of this test, removed when the test ends.
    std::string writeFile(const std::string& name, const std::string& contents);

private:
    std::filesystem::path temporaryFolder;
};

// glGetIntegerv of a single-valued query: a binding, a capability's setting.
int integerState(unsigned query);

// The off-screen configuration a view draws into: the picture at colour attachment 0, the pick
// image at attachment 1 (both RGBA, 8 bits per channel), a depth renderbuffer, both colour
// attachments as draw buffers, cleared to (0, 0, 0, 0).
struct OffscreenTarget {
    Texture2D picture;
    Texture2D pickImage;
    Framebuffer framebuffer;

    OffscreenTarget(int width, int height);

    // The pixel of a colour attachment as GL_UNSIGNED_INT_8_8_8_8 packs it: red highest.
    std::uint32_t pixel(unsigned attachment, int x, int y);
    // The whole picture as RGBA bytes, the top row first.
    std::vector<std::uint8_t> pictureRowsTopDown();
};

} // namespace kinora::test
