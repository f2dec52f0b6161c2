#include "KNRenderCallbacks.h"
#include "Mesh.h"
#include "Path.h"
#include "Seed.h"
#include "Shader.h"
#include "ViewTestSupport.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

namespace {

// The callbacks run in the views' shared context, on the views' own programs.
class RenderCallbacksTest : public testing::Test {
protected:
    void SetUp() override { showAndAwake(view, 100, 100); }

    static float pointSize() {
        GLfloat size = 0.0f;
        glGetFloatv(GL_POINT_SIZE, &size);
        return size;
    }

    TestPlotView view;
};

TEST_F(RenderCallbacksTest, ASelectedSeedIsDrawnTwiceAsLargeAboveEverything) {
    auto mesh = makePointMesh();
    Seed seed(mesh.get(), view.pickShader.get(), 20);
    glEnable(GL_DEPTH_TEST);
    prepareSeedDraw(&seed);
    EXPECT_EQ(pointSize(), 10.0f);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    seed.isSelected = true;
    prepareSeedDraw(&seed);
    EXPECT_EQ(pointSize(), 20.0f);
    // A handle drawn after it does not inherit the selected size.
    prepareHandleDraw(&seed);
    EXPECT_EQ(pointSize(), 10.0f);
}

TEST_F(RenderCallbacksTest, APathHandsItsSweepFractionToItsProgram) {
    auto mesh = makePointMesh();
    Path path(mesh.get(), view.pathShader.get(), GL_LINE_STRIP);
    path.sValue = 0.375f;
    view.pathShader->use();
    preparePathDraw(&path);
    GLfloat evolution = -1.0f;
    glGetUniformfv(view.pathShader->program, view.pathShader->uniformLocation("evolution"),
                   &evolution);
    EXPECT_EQ(evolution, 0.375f);
}

TEST_F(RenderCallbacksTest, VertexAttributesReadTwoTriplesOfTwentyFourByteVertices) {
    auto mesh = makePointMesh();
    kinora::Renderable line(mesh.get(), view.flatColorShader.get(), GL_LINES);
    line.setupAttributes = setupVertexAttributes;
    line.createVertexArray();
    glBindVertexArray(line.vertexArray);
    for (const auto& [name, offset] :
         {std::pair<const char*, GLintptr>{"vPosition", 0}, {"vVelocity", 12}}) {
        const int location = view.flatColorShader->attributeLocation(name);
        ASSERT_GE(location, 0) << name;
        GLint enabled = 0, size = 0, type = 0, stride = 0, normalized = 1, buffer = 0;
        glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
        glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_SIZE, &size);
        glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_TYPE, &type);
        glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_STRIDE, &stride);
        glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_NORMALIZED, &normalized);
        glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &buffer);
        void* pointer = nullptr;
        glGetVertexAttribPointerv(location, GL_VERTEX_ATTRIB_ARRAY_POINTER, &pointer);
        EXPECT_EQ(enabled, GL_TRUE) << name;
        EXPECT_EQ(size, 3) << name;
        EXPECT_EQ(type, GL_FLOAT) << name;
        EXPECT_EQ(stride, 24) << name;
        EXPECT_EQ(normalized, GL_FALSE) << name;
        EXPECT_EQ(static_cast<unsigned>(buffer), mesh->vertexBuffer) << name;
        EXPECT_EQ(reinterpret_cast<GLintptr>(pointer), offset) << name;
    }
    glBindVertexArray(0);
}

} // namespace
