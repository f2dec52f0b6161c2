#include "Renderable.h"

#include "GLTest.h"
#include "Scene.h"
#include "TestRenderables.h"

#include <epoxy/gl.h>
#include <gmock/gmock.h>

namespace kinora::test {
namespace {

// What the callbacks saw when they ran; callbacks are plain function pointers.
struct CallbackRecord {
    int calls = 0;
    Renderable* renderable = nullptr;
    GLint vertexArray = -1;
    GLint arrayBuffer = -1;
    GLint elementBuffer = -1;
    GLint program = -1;
};
CallbackRecord setupRecord;
CallbackRecord drawRecord;

void recordState(CallbackRecord& record, Renderable* renderable) {
    ++record.calls;
    record.renderable = renderable;
    record.vertexArray = integerState(GL_VERTEX_ARRAY_BINDING);
    record.arrayBuffer = integerState(GL_ARRAY_BUFFER_BINDING);
    record.elementBuffer = integerState(GL_ELEMENT_ARRAY_BUFFER_BINDING);
    record.program = integerState(GL_CURRENT_PROGRAM);
}

void recordSetup(Renderable* renderable) {
    recordState(setupRecord, renderable);
    setupPositionAndSecondTriple(renderable);
}

void recordDraw(Renderable* renderable) {
    recordState(drawRecord, renderable);
    preparePickablePoint(renderable);
}

class RenderableTest : public SceneOnTargetTest {
protected:
    void SetUp() override {
        SceneOnTargetTest::SetUp();
        setupRecord = {};
        drawRecord = {};
        pickShader = loadProgram("basic.vsh", "white_pick.fsh");
        pointMesh = makePointMesh();
    }

    std::unique_ptr<Shader> pickShader;
    std::unique_ptr<Mesh> pointMesh;
};

constexpr std::uint32_t white = 0xFFFFFFFF;

TEST_F(RenderableTest, BuildsItsVertexArrayOnTheMeshWithOrWithoutALayoutCallback) {
    Renderable bare(pointMesh.get(), pickShader.get(), GL_POINTS);
    bare.createVertexArray();
    ASSERT_TRUE(glIsVertexArray(bare.vertexArray));
    EXPECT_EQ(integerState(GL_VERTEX_ARRAY_BINDING), 0);
    EXPECT_EQ(integerState(GL_ARRAY_BUFFER_BINDING), 0);
    glBindVertexArray(bare.vertexArray);
    EXPECT_EQ(integerState(GL_ELEMENT_ARRAY_BUFFER_BINDING),
              static_cast<GLint>(pointMesh->indexBuffer))
        << "the vertex array keeps the mesh's indices";
    glBindVertexArray(0);

    Renderable laidOut(pointMesh.get(), pickShader.get(), GL_POINTS);
    laidOut.setupAttributes = recordSetup;
    laidOut.createVertexArray();
    EXPECT_EQ(setupRecord.calls, 1);
    EXPECT_EQ(setupRecord.renderable, &laidOut);
    EXPECT_EQ(setupRecord.vertexArray, static_cast<GLint>(laidOut.vertexArray));
    EXPECT_EQ(setupRecord.arrayBuffer, static_cast<GLint>(pointMesh->vertexBuffer));
    EXPECT_EQ(setupRecord.elementBuffer, static_cast<GLint>(pointMesh->indexBuffer));

    glBindVertexArray(laidOut.vertexArray);
    const auto position = static_cast<GLuint>(pickShader->attributeLocation("vPosition"));
    GLint enabled = 0;
    GLint stride = 0;
    glGetVertexAttribiv(position, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    glGetVertexAttribiv(position, GL_VERTEX_ATTRIB_ARRAY_STRIDE, &stride);
    EXPECT_EQ(enabled, GL_TRUE);
    EXPECT_EQ(stride, 24);
    glBindVertexArray(0);
    EXPECT_EQ(setupRecord.calls, 1) << "the layout is declared once";
}

TEST_F(RenderableTest, AnInvisibleRenderableMakesNoGLCallAndSkipsItsHook) {
    Renderable point(pointMesh.get(), pickShader.get(), GL_POINTS);
    point.prepareDraw = recordDraw;
    point.createVertexArray();
    point.visible = 0;
    scene->addRenderable(&point);
    glUseProgram(0);

    point.draw();
    EXPECT_EQ(integerState(GL_CURRENT_PROGRAM), 0);
    scene->draw();
    EXPECT_EQ(drawRecord.calls, 0);
    EXPECT_EQ(pictureAt(32, 32), 0u);

    point.visible = 1;
    scene->draw();
    EXPECT_EQ(drawRecord.calls, 1);
    EXPECT_EQ(pictureAt(32, 32), white);
}

TEST_F(RenderableTest, DrawRunsItsHookWithTheProgramCurrentAndPlacesTheMeshByItsTransform) {
    Renderable point(pointMesh.get(), pickShader.get(), GL_POINTS);
    point.setupAttributes = setupPositionAndSecondTriple;
    point.prepareDraw = recordDraw;
    point.createVertexArray();
    point.transform.position = Vector3(2.5, -2.5, 0.0);
    point.transform.rotate(30.0f, zAxis);
    point.polygonMode = GL_LINE;
    scene->addRenderable(&point);

    scene->draw();
    EXPECT_EQ(drawRecord.calls, 1);
    EXPECT_EQ(drawRecord.renderable, &point);
    EXPECT_EQ(drawRecord.program, static_cast<GLint>(pickShader->program));
    EXPECT_EQ(pictureAt(48, 16), white);
    EXPECT_EQ(pictureAt(32, 32), 0u);

    std::vector<float> model(16);
    glGetUniformfv(pickShader->program, pickShader->uniformLocation("modelMatrix"), model.data());
    EXPECT_THAT(model, ::testing::ElementsAreArray(point.transform.modelMatrix().m));
    GLint polygonModes[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, polygonModes);
    EXPECT_EQ(polygonModes[0], GL_LINE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);

    EXPECT_EQ(integerState(GL_VERTEX_ARRAY_BINDING), 0);
    EXPECT_EQ(integerState(GL_ARRAY_BUFFER_BINDING), 0);
}

TEST_F(RenderableTest, DrawsARefillEvenWhenTheRefillUnboundItsIndicesFromTheVertexArray) {
    const auto flatShader = loadProgram("basic.vsh", "color_flat.fsh");
    auto mesh = makeSegmentMesh(Vector3(-5, 0, 0), Vector3(-4, 0, 0), Vector3(1, 0, 0));
    Renderable line(mesh.get(), flatShader.get(), GL_LINES);
    line.setupAttributes = setupPositionAndSecondTriple;
    line.prepareDraw = prepareLine;
    line.createVertexArray();
    scene->addRenderable(&line);

    // A vertical segment through the centre, uploaded while the line's vertex array is bound.
    const float vertices[12] = {0.05f, -4, 0, 0, 1, 0, 0.05f, 4, 0, 0, 1, 0};
    const unsigned indices[2] = {0, 1};
    glBindVertexArray(line.vertexArray);
    mesh->setData(vertices, indices, 2, 2, 6);
    glBindVertexArray(0);

    scene->draw();
    EXPECT_EQ(pictureAt(32, 32), 0x00FF00FFu);
}

TEST_F(RenderableTest, AMeshWithoutIndicesDrawsNothing) {
    const float vertex[6] = {};
    Mesh empty(vertex, nullptr, 1, 0, 6);
    Renderable point(&empty, pickShader.get(), GL_POINTS);
    point.prepareDraw = preparePickablePoint;
    point.createVertexArray();
    scene->addRenderable(&point);
    scene->draw();
    EXPECT_EQ(pictureAt(32, 32), 0u);
}

TEST_F(RenderableTest, DestructionDeletesTheVertexArrayButNotTheMeshOrTheProgram) {
    auto point = std::make_unique<Renderable>(pointMesh.get(), pickShader.get(), GL_POINTS);
    point->createVertexArray();
    const GLuint vertexArray = point->vertexArray;
    ASSERT_TRUE(glIsVertexArray(vertexArray));
    point.reset();
    EXPECT_FALSE(glIsVertexArray(vertexArray));
    EXPECT_TRUE(glIsBuffer(pointMesh->vertexBuffer));
    EXPECT_TRUE(glIsBuffer(pointMesh->indexBuffer));
    EXPECT_TRUE(glIsProgram(pickShader->program));
}

} // namespace
} // namespace kinora::test
