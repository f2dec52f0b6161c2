#include "GLTest.h"
#include "PngWriter.h"
#include "RK4Integrator.h"
#include "Scene.h"
#include "TestPath.h"
#include "TestRenderables.h"
#include "Trajectory.h"

#include <array>
#include <epoxy/gl.h>
#include <iostream>

namespace kinora::test {
namespace {

Vector3 lorenzFlow(double, const std::vector<Parameter>& p, Vector3 s) {
    const double rho = p[0].value();
    const double sigma = p[1].value();
    const double beta = p[2].value();
    return {sigma * (s.y - s.x), s.x * (rho - s.z) - s.y, s.x * s.y - beta * s.z};
}

using Colour = std::array<int, 3>;

// The view's picture of a plot window at its first size: the axes, a seed at (1, 1, 1) and its
// paths across a sweep of rho, written to render_preview.png beside the test binary so the
// colours can be looked at.
class RenderPreviewTest : public GLTest {};

TEST_F(RenderPreviewTest, DrawsAxesAndTheSweepsPathsInTheirColours) {
    const int size = 480;
    OffscreenTarget target(size, size);
    Scene scene(&target.framebuffer);
    placeCameraLikeTheViews(scene);
    scene.blendEnabled = true;
    // Turned so that z points up the picture and the attractor fits.
    scene.transform.pivot = Vector3(0, 0, 22);
    scene.transform.scale = Vector3(0.15, 0.15, 0.15);
    scene.transform.rotate(-90.0f, xAxis);
    scene.transform.rotate(-30.0f, yAxis);
    scene.transform.rotate(12.0f, xAxis);

    const auto flatShader = loadProgram("basic.vsh", "color_flat.fsh");
    const auto pathShader = loadProgram("basic.vsh", "path.fsh");
    const auto pickShader = loadProgram("basic.vsh", "white_pick.fsh");

    // The views' axes: a pair of vertices per axis, the colour as the second triple.
    const float axesVertices[36] = {-10, 0,  0, 1, 0, 0, 10, 0, 0,   1, 0, 0, 0, -10, 0,  0, 1, 0,
                                    0,   10, 0, 0, 1, 0, 0,  0, -10, 0, 0, 1, 0, 0,   10, 0, 0, 1};
    const unsigned axesIndices[6] = {0, 1, 2, 3, 4, 5};
    Mesh axesMesh(axesVertices, axesIndices, 12, 6, 3);
    Renderable axes(&axesMesh, flatShader.get(), GL_LINES);
    axes.setupAttributes = setupPositionAndSecondTriple;
    axes.prepareDraw = prepareLine;
    axes.createVertexArray();
    scene.addRenderable(&axes);

    const Vector3 seedPosition(1, 1, 1);
    const auto seedMesh = makePointMesh();
    Renderable seed(seedMesh.get(), pickShader.get(), GL_POINTS);
    seed.prepareDraw = preparePickablePoint;
    seed.createVertexArray();
    seed.transform.position = seedPosition;
    scene.addRenderable(&seed);

    RK4Integrator integrator(0.01);
    KinoraSystem system(lorenzFlow, &integrator, 3);
    system.parameter(0) = Parameter("rho", 28.0, 18.0, 28.0);
    system.parameter(1) = Parameter("sigma", 10.0, 10.0, 10.0);
    system.parameter(2) = Parameter("beta", 8.0 / 3.0, 8.0 / 3.0, 8.0 / 3.0);
    const int evolutions = 10;
    std::vector<std::unique_ptr<Mesh>> pathMeshes;
    std::vector<std::unique_ptr<TestPath>> paths;
    Trajectory trajectory;
    for (int m = 0; m < evolutions; ++m) {
        const double s = m / static_cast<double>(evolutions - 1);
        setParametersAtSweepFraction(system, s);
        trajectory.integrate(system, seedPosition, 2500);
        const auto count = static_cast<int>(trajectory.vertices.size());
        auto& mesh = pathMeshes.emplace_back(
            std::make_unique<Mesh>(reinterpret_cast<const float*>(trajectory.vertices.data()),
                                   trajectory.indices.data(), count, count, 6));
        auto& path = paths.emplace_back(
            std::make_unique<TestPath>(mesh.get(), pathShader.get(), GL_LINE_STRIP));
        path->setupAttributes = setupPositionAndSecondTriple;
        path->prepareDraw = prepareTestPath;
        path->sValue = static_cast<float>(s);
        path->createVertexArray();
        scene.addRenderable(path.get());
    }
    scene.draw();

    // Opaque, as the display pass puts the picture on the window.
    auto pixels = target.pictureRowsTopDown();
    for (std::size_t alpha = 3; alpha < pixels.size(); alpha += 4) {
        pixels[alpha] = 255;
    }
    const std::string file = std::string(KINORA_TEST_OUTPUT_DIR) + "/render_preview.png";
    ASSERT_TRUE(writePng(file, size, size, pixels));
    std::cout << "picture written to " << file << std::endl;

    // Every colour of the design is on the picture: the three axes, the white seed and the
    // first and last evolution's paths.
    const auto count = [&](Colour colour, int tolerance) {
        int matches = 0;
        for (std::size_t i = 0; i + 3 < pixels.size(); i += 4) {
            const int d = std::abs(pixels[i] - colour[0]) + std::abs(pixels[i + 1] - colour[1]) +
                          std::abs(pixels[i + 2] - colour[2]);
            matches += d <= tolerance ? 1 : 0;
        }
        return matches;
    };
    EXPECT_GT(count({255, 0, 0}, 0), 50) << "x axis";
    EXPECT_GT(count({0, 255, 0}, 0), 50) << "y axis";
    EXPECT_GT(count({0, 0, 255}, 0), 50) << "z axis";
    EXPECT_GE(count({255, 255, 255}, 0), 50) << "the 10-pixel seed, partly under its paths";
    EXPECT_GT(count({107, 77, 245}, 6), 100) << "first evolution";
    EXPECT_GT(count({255, 219, 56}, 6), 100) << "last evolution";
}

} // namespace
} // namespace kinora::test
