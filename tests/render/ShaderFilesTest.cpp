#include "GLTest.h"
#include "Scene.h"
#include "TestPath.h"
#include "TestRenderables.h"

#include <array>
#include <cmath>
#include <epoxy/gl.h>

namespace kinora::test {
namespace {

using Colour = std::array<int, 3>;

Colour rgbOf(std::uint32_t pixel) {
    return {static_cast<int>(pixel >> 24), static_cast<int>((pixel >> 16) & 0xFF),
            static_cast<int>((pixel >> 8) & 0xFF)};
}

// Relative luminance of an sRGB colour: what decides how bright a line reads.
double luminance(Colour colour) {
    const auto linear = [](int byte) {
        const double c = byte / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour[0]) + 0.7152 * linear(colour[1]) + 0.0722 * linear(colour[2]);
}

int distance(Colour a, Colour b) {
    return std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
}

using ShaderFilesTest = GLTest;

TEST_F(ShaderFilesTest, EveryProgramLinksAndDeclaresWhatItsDrawingNeeds) {
    const auto path = loadProgram("basic.vsh", "path.fsh");
    const auto pick = loadProgram("basic.vsh", "white_pick.fsh");
    const auto display = loadProgram("display.vsh", "display.fsh");
    const auto flat = loadProgram("basic.vsh", "color_flat.fsh");
    const auto ramp = loadProgram("basic.vsh", "color_ramp.fsh");

    for (const Shader* scene : {path.get(), pick.get(), flat.get(), ramp.get()}) {
        ASSERT_TRUE(scene->linked);
        EXPECT_TRUE(scene->hasAttribute("vPosition"));
        for (const char* matrix : {"modelMatrix", "viewMatrix", "projectionMatrix"}) {
            EXPECT_TRUE(scene->hasUniform(matrix)) << matrix;
        }
        EXPECT_EQ(glGetFragDataLocation(scene->program, "fragID"), 1);
    }
    EXPECT_TRUE(flat->hasAttribute("vVelocity")) << "the axes' colours";
    EXPECT_TRUE(ramp->hasAttribute("vVelocity")) << "how far along the line";
    EXPECT_TRUE(path->hasUniform("evolution"));
    EXPECT_TRUE(pick->hasUniform("objectID"));
    EXPECT_FALSE(path->hasUniform("objectID")) << "only the pickable objects carry an id";
    ASSERT_TRUE(display->linked);
    EXPECT_TRUE(display->hasAttribute("vPosition"));
    EXPECT_TRUE(display->hasUniform("texture0"));
}

// Horizontal lines across the target, one per colour under test.
class ColourTest : public SceneOnTargetTest {
protected:
    void SetUp() override {
        SceneOnTargetTest::SetUp();
        scene->blendEnabled = true;
    }

    template <typename R = Renderable>
    R* addLine(Shader* shader, Vector3 a, Vector3 b, Vector3 secondTriple) {
        auto& mesh = meshes.emplace_back(makeSegmentMesh(a, b, secondTriple));
        auto renderable = std::make_unique<R>(mesh.get(), shader, GL_LINES);
        R* line = renderable.get();
        line->setupAttributes = setupPositionAndSecondTriple;
        line->prepareDraw = prepareLine;
        line->createVertexArray();
        scene->addRenderable(line);
        renderables.push_back(std::move(renderable));
        return line;
    }

    Colour colourAt(int x, int y) { return rgbOf(pictureAt(x, y)); }

    std::vector<std::unique_ptr<Mesh>> meshes;
    std::vector<std::unique_ptr<Renderable>> renderables;
};

// World height y lands on row 32 + 6.4 y; 0.05 keeps the line off a pixel boundary.
double rowHeight(int row) {
    return (row - 32) / 6.4 + 0.05;
}

TEST_F(ColourTest, PathsBrightenSteadilyFromTheFirstEvolutionToTheLast) {
    const auto pathShader = loadProgram("basic.vsh", "path.fsh");
    const float evolutions[] = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f};
    for (int i = 0; i < 5; ++i) {
        const double y = rowHeight(8 + 10 * i);
        auto* path = addLine<TestPath>(pathShader.get(), Vector3(-6, y, 0), Vector3(6, y, 0),
                                       Vector3(0.3, -2, 7));
        path->prepareDraw = prepareTestPath;
        path->sValue = evolutions[i];
    }
    scene->draw();

    std::vector<Colour> colours;
    for (int i = 0; i < 5; ++i) {
        colours.push_back(colourAt(32, 8 + 10 * i));
    }
    for (std::size_t i = 1; i < colours.size(); ++i) {
        EXPECT_GT(luminance(colours[i]), luminance(colours[i - 1]) * 1.15)
            << "evolution " << evolutions[i];
    }
    const Colour first = colours.front();
    const Colour last = colours.back();
    EXPECT_GE(*std::max_element(first.begin(), first.end()), 200)
        << "the first evolution must stand out on black";
    EXPECT_GT(luminance(first), 0.08);
    EXPECT_GT(distance(first, last), 300) << "first and last evolution clearly apart";
}

TEST_F(ColourTest, AxesKeepTheirVertexColoursAndTheSweepLineRunsAlongThePathRamp) {
    const auto flatShader = loadProgram("basic.vsh", "color_flat.fsh");
    const auto rampShader = loadProgram("basic.vsh", "color_ramp.fsh");
    const auto pathShader = loadProgram("basic.vsh", "path.fsh");
    const double axisY[3] = {rowHeight(10), rowHeight(14), rowHeight(18)};
    const Vector3 axisColours[3] = {Vector3(1, 0, 0), Vector3(0, 1, 0), Vector3(0, 0, 1)};
    for (int i = 0; i < 3; ++i) {
        addLine(flatShader.get(), Vector3(-6, axisY[i], 0), Vector3(6, axisY[i], 0),
                axisColours[i]);
    }
    // The sweep line runs from start (0) to end (1); its ends are compared with the paths of
    // the first and last evolution.
    auto& mesh = meshes.emplace_back();
    const float rampVertices[12] = {-5, static_cast<float>(rowHeight(40)), 0, 0, 0, 0,
                                    5,  static_cast<float>(rowHeight(40)), 0, 1, 1, 1};
    const unsigned indices[2] = {0, 1};
    mesh = std::make_unique<Mesh>(rampVertices, indices, 2, 2, 6);
    auto sweep = std::make_unique<Renderable>(mesh.get(), rampShader.get(), GL_LINES);
    sweep->setupAttributes = setupPositionAndSecondTriple;
    sweep->prepareDraw = prepareLine;
    sweep->createVertexArray();
    scene->addRenderable(sweep.get());
    for (const auto& [row, s] : {std::pair{50, 0.0f}, {56, 1.0f}}) {
        const double y = rowHeight(row);
        auto* path = addLine<TestPath>(pathShader.get(), Vector3(-6, y, 0), Vector3(6, y, 0),
                                       Vector3(0, 0, 0));
        path->prepareDraw = prepareTestPath;
        path->sValue = s;
    }
    scene->draw();

    EXPECT_EQ(colourAt(32, 10), (Colour{255, 0, 0}));
    EXPECT_EQ(colourAt(32, 14), (Colour{0, 255, 0}));
    EXPECT_EQ(colourAt(32, 18), (Colour{0, 0, 255}));
    // x = -5 and 5 land on columns 0 and 64: the first and last columns are within a pixel of
    // the ends.
    EXPECT_LE(distance(colourAt(0, 40), colourAt(32, 50)), 12);
    EXPECT_LE(distance(colourAt(63, 40), colourAt(32, 56)), 12);
    EXPECT_GT(distance(colourAt(0, 40), colourAt(63, 40)), 300);
}

} // namespace
} // namespace kinora::test
