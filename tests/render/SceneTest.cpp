#include "Scene.h"

#include "GLTest.h"
#include "TestRenderables.h"

#include <epoxy/gl.h>
#include <gmock/gmock.h>
#include <map>

namespace kinora::test {
namespace {

constexpr std::uint32_t white = 0xFFFFFFFF;
constexpr std::uint32_t red = 0xFF0000FF;

class SceneTest : public SceneOnTargetTest {
protected:
    void SetUp() override {
        SceneOnTargetTest::SetUp();
        pickShader = loadProgram("basic.vsh", "white_pick.fsh");
        flatShader = loadProgram("basic.vsh", "color_flat.fsh");
        pointMesh = makePointMesh();
    }

    // A pickable 10-pixel point at position, not yet in the scene.
    Renderable* makePoint(Vector3 position) {
        auto& point = owned.emplace_back(
            std::make_unique<Renderable>(pointMesh.get(), pickShader.get(), GL_POINTS));
        point->prepareDraw = preparePickablePoint;
        point->createVertexArray();
        point->transform.position = position;
        return point.get();
    }

    // A red horizontal line of the flat program across the whole target at world height y.
    Renderable* makeLine(double y) {
        auto& mesh = lineMeshes.emplace_back(
            makeSegmentMesh(Vector3(-6, y, 0), Vector3(6, y, 0), Vector3(1, 0, 0)));
        auto& line = owned.emplace_back(
            std::make_unique<Renderable>(mesh.get(), flatShader.get(), GL_LINES));
        line->setupAttributes = setupPositionAndSecondTriple;
        line->prepareDraw = prepareLine;
        line->createVertexArray();
        return line.get();
    }

    std::uint32_t idAt(int x, int y) { return target->pixel(GL_COLOR_ATTACHMENT1, x, y); }

    std::unique_ptr<Shader> pickShader;
    std::unique_ptr<Shader> flatShader;
    std::unique_ptr<Mesh> pointMesh;
    std::vector<std::unique_ptr<Mesh>> lineMeshes;
    std::vector<std::unique_ptr<Renderable>> owned;
};

TEST_F(SceneTest, HandsOutIndicesInOrderAndReusesTheLastFreedFirst) {
    Renderable* a = makePoint({});
    Renderable* b = makePoint({});
    Renderable* c = makePoint({});
    EXPECT_EQ(scene->addRenderable(a), 0);
    EXPECT_EQ(scene->addRenderable(b), 1);
    EXPECT_EQ(scene->addRenderable(c), 2);

    scene->removeRenderable(1);
    scene->removeRenderable(0);
    EXPECT_EQ(scene->renderables.size(), 3u) << "slots are never compacted";
    EXPECT_EQ(scene->getRenderable(0), nullptr);
    EXPECT_EQ(scene->getRenderable(1), nullptr);
    EXPECT_EQ(scene->getRenderable(2), c);

    Renderable* d = makePoint({});
    Renderable* e = makePoint({});
    Renderable* f = makePoint({});
    EXPECT_EQ(scene->addRenderable(d), 0);
    EXPECT_EQ(scene->addRenderable(e), 1);
    EXPECT_EQ(scene->addRenderable(f), 3);
    EXPECT_TRUE(scene->freeIds.empty());
    EXPECT_THAT(scene->renderables, ::testing::ElementsAre(d, e, c, f));
}

TEST_F(SceneTest, PicksTheIndexDrawnAtAPixelAndNothingElsewhere) {
    Renderable* left = makePoint(Vector3(-2.5, 0, 0));
    Renderable* right = makePoint(Vector3(2.5, 0, 0));
    Renderable* top = makePoint(Vector3(0, 2.5, 0));
    scene->addRenderable(left);
    scene->addRenderable(right);
    scene->addRenderable(top);
    scene->removeRenderable(1);
    scene->draw();

    // The freed slot is skipped and the next one still draws with its own index + 1.
    EXPECT_EQ(scene->pick(16, 32), 0);
    EXPECT_EQ(scene->pick(48, 32), -1);
    EXPECT_EQ(scene->pick(32, 48), 2);
    EXPECT_EQ(idAt(32, 48), 3u);
    EXPECT_EQ(pictureAt(32, 48), white);
    EXPECT_EQ(scene->renderableAt(16, 32), left);
    EXPECT_EQ(scene->renderableAt(32, 48), top);

    EXPECT_EQ(scene->pick(32, 32), -1) << "background";
    EXPECT_EQ(scene->renderableAt(32, 32), nullptr);
    for (const auto& [x, y] : {std::pair{-1, 32}, {64, 32}, {16, -1}, {16, 64}}) {
        EXPECT_EQ(scene->pick(x, y), -1) << "outside the framebuffer at " << x << ", " << y;
    }

    // Until the next draw the pick image still shows a slot freed since.
    scene->removeRenderable(2);
    EXPECT_EQ(scene->pick(32, 48), 2);
    EXPECT_EQ(scene->renderableAt(32, 48), nullptr);
    scene->draw();
    EXPECT_EQ(scene->pick(32, 48), -1);
}

TEST_F(SceneTest, IdsBeyondTheEightBitsOfAlphaStillPickTheirOwnIndex) {
    Renderable* placeholder = makePoint({});
    placeholder->visible = 0;
    const std::map<int, Vector3> pickable = {{0, Vector3(-2.5, -2.5, 0)},
                                             {254, Vector3(2.5, -2.5, 0)},
                                             {255, Vector3(-2.5, 2.5, 0)},
                                             {300, Vector3(2.5, 2.5, 0)}};
    for (int index = 0; index <= 300; ++index) {
        const auto found = pickable.find(index);
        ASSERT_EQ(
            scene->addRenderable(found == pickable.end() ? placeholder : makePoint(found->second)),
            index);
    }
    scene->draw();

    EXPECT_EQ(scene->pick(16, 16), 0);
    EXPECT_EQ(scene->pick(48, 16), 254);
    EXPECT_EQ(scene->pick(16, 48), 255);
    EXPECT_EQ(scene->pick(48, 48), 300);
    // Up to 254 the id is the alpha byte alone, over zero red, green and blue.
    EXPECT_EQ(idAt(16, 16), 0x00000001u);
    EXPECT_EQ(idAt(48, 16), 0x000000FFu);
    EXPECT_EQ(idAt(16, 48), 0x00000100u);
    EXPECT_EQ(idAt(48, 48), 0x0000012Du);

    // An id beyond the slots, as a stale image of a larger scene would hold, picks nothing.
    Scene smaller(&target->framebuffer);
    smaller.addRenderable(placeholder);
    EXPECT_EQ(smaller.pick(48, 48), -1);
}

TEST_F(SceneTest, LinesDrawnOverAPickedPointUnderBlendingKeepItsId) {
    const auto pathShader = loadProgram("basic.vsh", "path.fsh");
    scene->blendEnabled = true;
    scene->addRenderable(makePoint(Vector3(0, 0, 0)));
    scene->addRenderable(makeLine(0.05));
    Renderable* path = makeLine(-0.05);
    path->shader = pathShader.get();
    scene->addRenderable(path);
    scene->addRenderable(makeLine(2.55));
    scene->draw();

    EXPECT_EQ(pictureAt(32, 32), red) << "the line lies over the point";
    EXPECT_EQ(scene->pick(32, 32), 0);
    EXPECT_EQ(idAt(32, 31), 1u) << "under the path too";
    EXPECT_EQ(pictureAt(10, 48), red);
    EXPECT_EQ(scene->pick(10, 48), -1) << "lines are not pickable";
}

TEST_F(SceneTest, EachPassStartsWithTheScenesBlendingWhateverCameBefore) {
    EXPECT_EQ(scene->blendSrcRGB, static_cast<unsigned>(GL_SRC_ALPHA));
    EXPECT_EQ(scene->blendDstRGB, static_cast<unsigned>(GL_ONE_MINUS_SRC_ALPHA));
    EXPECT_EQ(scene->blendEquationAlpha, static_cast<unsigned>(GL_FUNC_ADD));

    glEnable(GL_BLEND);
    scene->draw();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));

    scene->blendEnabled = true;
    scene->blendSrcRGB = GL_ONE;
    scene->blendDstRGB = GL_ZERO;
    scene->blendSrcAlpha = GL_ZERO;
    scene->blendDstAlpha = GL_ONE;
    scene->blendEquationRGB = GL_FUNC_SUBTRACT;
    scene->blendEquationAlpha = GL_MAX;
    scene->draw();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    const std::pair<GLenum, GLint> expected[] = {{GL_BLEND_SRC_RGB, GL_ONE},
                                                 {GL_BLEND_DST_RGB, GL_ZERO},
                                                 {GL_BLEND_SRC_ALPHA, GL_ZERO},
                                                 {GL_BLEND_DST_ALPHA, GL_ONE},
                                                 {GL_BLEND_EQUATION_RGB, GL_FUNC_SUBTRACT},
                                                 {GL_BLEND_EQUATION_ALPHA, GL_MAX}};
    for (const auto& [query, value] : expected) {
        EXPECT_EQ(integerState(query), value) << "query 0x" << std::hex << query;
    }
    glBlendEquation(GL_FUNC_ADD);
    glDisable(GL_BLEND);
}

TEST_F(SceneTest, WithoutClearingThePreviousPictureAndIdsStayUnderTheNewDrawing) {
    Renderable* first = makePoint(Vector3(-2.5, 0, 0));
    scene->addRenderable(first);
    scene->addRenderable(makeLine(2.55));
    scene->draw();
    // A second cleared pass draws the depth-tested line again: depth was cleared too.
    scene->draw();
    EXPECT_EQ(pictureAt(10, 48), red);

    first->visible = 0;
    scene->addRenderable(makePoint(Vector3(2.5, 0, 0)));
    scene->clearEnabled = false;
    scene->draw();
    EXPECT_EQ(pictureAt(16, 32), white);
    EXPECT_EQ(scene->pick(16, 32), 0);
    EXPECT_EQ(scene->pick(48, 32), 2);

    scene->clearEnabled = true;
    scene->draw();
    EXPECT_EQ(pictureAt(16, 32), 0u);
    EXPECT_EQ(scene->pick(16, 32), -1);
    EXPECT_EQ(scene->pick(48, 32), 2);
}

TEST_F(SceneTest, DrawsThroughTheCameraAndTheSceneTransformOfTheMomentOfThePass) {
    scene->addRenderable(makePoint(Vector3(0, 0, 0)));
    scene->transform.position = Vector3(2.5, 0, 0);
    scene->draw();
    EXPECT_EQ(scene->pick(48, 32), 0);

    std::vector<float> uploaded(16);
    glGetUniformfv(pickShader->program, pickShader->uniformLocation("viewMatrix"), uploaded.data());
    const Matrix4 view = scene->camera.viewMatrix() * scene->transform.modelMatrix();
    EXPECT_THAT(uploaded, ::testing::ElementsAreArray(view.m));

    // Zoom doubles the near plane when the pass rebuilds the projection: x = 1.25 lands where
    // 2.5 did.
    scene->transform.position = Vector3(1.25, 0, 0);
    scene->camera.zoom = 2.0f;
    scene->draw();
    EXPECT_EQ(scene->pick(48, 32), 0);
    EXPECT_EQ(scene->pick(40, 32), -1);
    glGetUniformfv(pickShader->program, pickShader->uniformLocation("projectionMatrix"),
                   uploaded.data());
    EXPECT_FLOAT_EQ(uploaded[0], 4.0f);
}

} // namespace
} // namespace kinora::test
