#include "Mesh.h"

#include "GLTest.h"

#include <cstring>
#include <epoxy/gl.h>
#include <gmock/gmock.h>

namespace kinora::test {
namespace {

// The size, usage and content of a buffer, read back through the array-buffer target.
struct BufferContent {
    GLint size = -1;
    GLint usage = 0;
    std::vector<std::uint8_t> bytes;
};

BufferContent readBuffer(GLuint buffer) {
    BufferContent content;
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &content.size);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_USAGE, &content.usage);
    content.bytes.resize(static_cast<std::size_t>(std::max(content.size, 0)));
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, content.size, content.bytes.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return content;
}

template <typename T> std::vector<T> valuesOf(const BufferContent& content) {
    std::vector<T> values(content.bytes.size() / sizeof(T));
    std::memcpy(values.data(), content.bytes.data(), values.size() * sizeof(T));
    return values;
}

// The element buffer is vertex-array state, so it is observed with a vertex array bound.
class MeshTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        glGenVertexArrays(1, &vertexArray);
        glBindVertexArray(vertexArray);
    }
    void TearDown() override {
        glBindVertexArray(0);
        glDeleteVertexArrays(1, &vertexArray);
        GLTest::TearDown();
    }
    GLuint vertexArray = 0;
};

TEST_F(MeshTest, UploadsBothArraysAsOftenRefilledDataAndLeavesNothingBound) {
    // The axes: six vertices of six floats described as twelve triples, six indices.
    std::vector<float> vertices(36);
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        vertices[i] = static_cast<float>(i) * 0.5f;
    }
    const std::vector<unsigned> indices = {0, 1, 2, 3, 4, 5};
    Mesh mesh(vertices.data(), indices.data(), 12, 6, 3);

    EXPECT_EQ(mesh.getIndexCount(), 6);
    EXPECT_NE(mesh.vertexBuffer, mesh.indexBuffer);
    const BufferContent vertexContent = readBuffer(mesh.vertexBuffer);
    const BufferContent indexContent = readBuffer(mesh.indexBuffer);
    EXPECT_EQ(vertexContent.size, 144);
    EXPECT_EQ(indexContent.size, 24);
    EXPECT_EQ(vertexContent.usage, GL_DYNAMIC_DRAW);
    EXPECT_EQ(indexContent.usage, GL_DYNAMIC_DRAW);
    EXPECT_EQ(valuesOf<float>(vertexContent), vertices);
    EXPECT_EQ(valuesOf<unsigned>(indexContent), indices);
    EXPECT_EQ(integerState(GL_ARRAY_BUFFER_BINDING), 0);
    EXPECT_EQ(integerState(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);

    mesh.bind();
    EXPECT_EQ(integerState(GL_ARRAY_BUFFER_BINDING), static_cast<GLint>(mesh.vertexBuffer));
    EXPECT_EQ(integerState(GL_ELEMENT_ARRAY_BUFFER_BINDING), static_cast<GLint>(mesh.indexBuffer));
    mesh.unbind();
    EXPECT_EQ(integerState(GL_ARRAY_BUFFER_BINDING), 0);
    EXPECT_EQ(integerState(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);
}

TEST_F(MeshTest, RefillsReplaceTheWholeContentGrowingAndShrinkingInPlace) {
    const float point[6] = {};
    const unsigned zero = 0;
    Mesh mesh(point, &zero, 1, 1, 6);
    const GLuint vertexBuffer = mesh.vertexBuffer;
    const GLuint indexBuffer = mesh.indexBuffer;

    std::vector<float> path(6 * 1000, 1.25f);
    std::vector<unsigned> pathIndices(1000);
    for (unsigned i = 0; i < 1000; ++i) {
        pathIndices[i] = i;
    }
    mesh.setData(path.data(), pathIndices.data(), 1000, 1000, 6);
    EXPECT_EQ(mesh.getIndexCount(), 1000);
    EXPECT_EQ(readBuffer(mesh.vertexBuffer).size, 24000);
    EXPECT_EQ(valuesOf<unsigned>(readBuffer(mesh.indexBuffer)), pathIndices);

    const float segment[12] = {1, 2, 3, 0, 0, 0, 4, 5, 6, 1, 1, 1};
    const unsigned segmentIndices[2] = {0, 1};
    mesh.setData(segment, segmentIndices, 2, 2, 6);
    EXPECT_EQ(mesh.getIndexCount(), 2);
    EXPECT_THAT(valuesOf<float>(readBuffer(mesh.vertexBuffer)),
                ::testing::ElementsAreArray(segment));
    EXPECT_EQ(readBuffer(mesh.indexBuffer).size, 8);

    mesh.setData(segment, nullptr, 2, 0, 6);
    EXPECT_EQ(mesh.getIndexCount(), 0);
    EXPECT_EQ(readBuffer(mesh.indexBuffer).size, 0);

    EXPECT_EQ(mesh.vertexBuffer, vertexBuffer) << "a refill keeps the buffer names";
    EXPECT_EQ(mesh.indexBuffer, indexBuffer);
    EXPECT_EQ(integerState(GL_ARRAY_BUFFER_BINDING), 0);
    EXPECT_EQ(integerState(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);
}

TEST_F(MeshTest, DestructionDeletesBothBuffers) {
    const float point[6] = {};
    const unsigned zero = 0;
    auto mesh = std::make_unique<Mesh>(point, &zero, 1, 1, 6);
    const GLuint vertexBuffer = mesh->vertexBuffer;
    const GLuint indexBuffer = mesh->indexBuffer;
    EXPECT_TRUE(glIsBuffer(vertexBuffer));
    EXPECT_TRUE(glIsBuffer(indexBuffer));
    mesh.reset();
    EXPECT_FALSE(glIsBuffer(vertexBuffer));
    EXPECT_FALSE(glIsBuffer(indexBuffer));
}

} // namespace
} // namespace kinora::test
