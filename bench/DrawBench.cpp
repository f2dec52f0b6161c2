// Drawing the plot view's picture for one event, as the view does it, against a floor that
// draws the same paths straight into the target with no pick pass and no copy. Each iteration
// also computes and uploads the trajectories the event changes, on both sides; GL work is
// finished before the clock stops. Runs on a headless GL context (Mesa's software renderer in
// CI); without one the drawing cases are left out.
#include "Framebuffer.h"
#include "HeadlessContext.h"
#include "KNDefinitions.h"
#include "KNKeptPicture.h"
#include "KNMovingSeedLayer.h"
#include "KNOffscreenImages.h"
#include "KNPlotView.h"
#include "KNRenderCallbacks.h"
#include "KinoraSystem.h"
#include "LorenzFan.h"
#include "Mesh.h"
#include "Path.h"
#include "RK4Integrator.h"
#include "RatioRegistry.h"
#include "Scene.h"
#include "Seed.h"
#include "Shader.h"
#include "Texture2D.h"
#include "Trajectory.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <epoxy/gl.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace lorenzFan;

constexpr int pathsPerSeed = KNPlotView::pathsPerSeed;

std::unique_ptr<kinora::Shader> program(const char* vertex, const char* fragment) {
    auto shader = std::make_unique<kinora::Shader>();
    shader->load(std::string(KINORA_BENCH_SHADER_DIR) + "/" + vertex,
                 std::string(KINORA_BENCH_SHADER_DIR) + "/" + fragment);
    return shader;
}

// A plot view's scene without the window: seeds with their paths, fitted so the Lorenz fans are
// on screen, drawn into the view's off-screen images and copied into a target that stands for
// the window.
class PlotScene {
public:
    // pathMode: how the paths are drawn, GL_LINE_STRIP or GL_LINES.
    PlotScene(int width, int height, int seedCount, unsigned pathMode = GL_LINE_STRIP)
        : width(width), height(height), pathMode(pathMode), integrator(step),
          system(lorenz, &integrator, 3) {
        setSweep(system);
        pathShader = program("basic.vsh", "path.fsh");
        pickShader = program("basic.vsh", "white_pick.fsh");
        picture = makeOffscreenImage(width, height);
        ids = makeOffscreenImage(width, height);
        images = makePictureTarget(picture.get(), ids.get());
        windowPicture = makeOffscreenImage(width, height);
        window = std::make_unique<kinora::Framebuffer>(float(width), float(height));
        window->attachTexture(windowPicture.get(), GL_COLOR_ATTACHMENT0);
        window->attachRenderbuffer(GL_DEPTH_COMPONENT24, GL_DEPTH_ATTACHMENT);
        window->unbind();

        scene = std::make_unique<kinora::Scene>(images.get());
        scene->blendEnabled = true;
        const float aspect = float(width) / float(height);
        scene->camera.setFrustum(-aspect, aspect, -1.0f, 1.0f, 2.0f, 60.0f);
        scene->camera.transform.position = kinora::Vector3(0.0, 0.0, 10.0);
        scene->transform.scale = kinora::Vector3(0.15, 0.15, 0.15);
        scene->transform.pivot = kinora::Vector3(0.0, 0.0, 25.0);
        pointMesh = makePointMesh();
        for (int k = 0; k < seedCount; ++k) {
            addSeed(kinora::Vector3(1.0 + 0.3 * (k % 10), 1.0 + 0.3 * (k / 10), 1.0));
        }
    }

    void computeAll() {
        for (auto& seed : seeds) {
            compute(*seed);
        }
    }

    // One seed's fan, integrated and handed to its paths as the controller does.
    void compute(Seed& seed) {
        const kinora::Vector3 start = seed.transform.position;
        for (int m = 0; m < evolutions; ++m) {
            kinora::setParametersAtSweepFraction(system, sweepFraction(m));
            trajectory.integrate(system, start, vertexCount());
            kinora::Renderable* path = scene->getRenderable(seed.pathIDs[m]);
            const bool wasBlank = path->drawsNothing();
            const std::vector<std::uint32_t>& indices =
                pathMode == GL_LINES ? segmentsOf(trajectory.indices) : trajectory.indices;
            path->mesh->setData(reinterpret_cast<const float*>(trajectory.vertices.data()),
                                indices.data(), vertexCount(), int(indices.size()), 6);
            keptPicture.pathChanged(seed.pathIDs[m], wasBlank, false);
        }
    }

    // What a long recomputation does before its first progress picture.
    void blankAll() {
        const float vertex[6] = {0, 0, 0, 0, 0, 0};
        const std::uint32_t index = 0;
        for (auto& seed : seeds) {
            for (int m = 0; m < evolutions; ++m) {
                kinora::Renderable* path = scene->getRenderable(seed->pathIDs[m]);
                const bool wasBlank = path->drawsNothing();
                path->mesh->setData(vertex, &index, 1, 1, 6);
                keptPicture.pathChanged(seed->pathIDs[m], wasBlank, true);
            }
        }
    }

    // A progress picture as the view draws it: what was filled since, onto the kept picture.
    void drawKeptAndPresent() {
        kinora::ScenePass pass;
        keptPicture.draw(*scene, *images, pass, kinora::ScenePass::Clock::time_point::max());
        present();
    }

    std::size_t seedCount() const { return seeds.size(); }
    Seed& seedAt(std::size_t k) { return *seeds[k]; }

    // The view's full redraw: the picture off screen, then copied onto the window.
    void drawAndPresent() {
        scene->drawPicture();
        present();
    }

    // The view's frame while seeds[0] is dragged.
    void drawMovingAndPresent() {
        movingLayer.draw(*scene, *images, *seeds.front(),
                         kinora::ScenePass::Clock::time_point::max());
        present();
    }

    // The floor: every path straight into the window, nothing else.
    void drawStraight() {
        window->bind();
        glViewport(0, 0, width, height);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        window->unbind();
        scene->drawPicture([](int, kinora::Renderable& r) { return dynamic_cast<Path*>(&r); },
                           false, window.get());
        glFinish();
    }

    // The picture drawn last, read back.
    std::vector<std::uint32_t> picturePixels() {
        std::vector<std::uint32_t> pixels(std::size_t(width) * std::size_t(height));
        images->bind();
        glReadBuffer(GL_COLOR_ATTACHMENT0);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_INT_8_8_8_8, pixels.data());
        images->unbind();
        return pixels;
    }

    Seed& moving() { return *seeds.front(); }
    void moveALittle() { moving().transform.position.x += (++moves % 2 == 0 ? 0.01 : -0.01); }

private:
    // A strip's indices as one pair per segment.
    const std::vector<std::uint32_t>& segmentsOf(const std::vector<std::uint32_t>& strip) {
        segments.clear();
        for (std::size_t i = 1; i < strip.size(); ++i) {
            segments.push_back(strip[i - 1]);
            segments.push_back(strip[i]);
        }
        return segments;
    }

    void present() {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, images->id);
        glReadBuffer(GL_COLOR_ATTACHMENT0);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, window->id);
        glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT,
                          GL_NEAREST);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glFinish();
    }

    void addSeed(kinora::Vector3 position) {
        auto seed = std::make_unique<Seed>(pointMesh.get(), pickShader.get(), pathsPerSeed);
        seed->createVertexArray();
        seed->transform.position = position;
        seed->sceneID = scene->addRenderable(seed.get());
        for (int i = 0; i < pathsPerSeed; ++i) {
            auto mesh = makePointMesh();
            auto path = std::make_unique<Path>(mesh.get(), pathShader.get(), pathMode);
            path->sValue = float(i) / 19.0f;
            path->setupAttributes = setupVertexAttributes;
            path->prepareDraw = preparePathDraw;
            path->createVertexArray();
            seed->pathIDs[i] = scene->addRenderable(path.get());
            meshes.push_back(std::move(mesh));
            paths.push_back(std::move(path));
        }
        seeds.push_back(std::move(seed));
    }

    int width, height;
    unsigned pathMode;
    std::vector<std::uint32_t> segments;
    int moves = 0;
    kinora::RK4Integrator integrator;
    KinoraSystem system;
    kinora::Trajectory trajectory;
    std::unique_ptr<kinora::Shader> pathShader, pickShader;
    std::unique_ptr<Texture2D> picture, ids, windowPicture;
    std::unique_ptr<kinora::Framebuffer> images, window;
    std::unique_ptr<kinora::Scene> scene;
    std::unique_ptr<kinora::Mesh> pointMesh;
    std::vector<std::unique_ptr<kinora::Mesh>> meshes;
    std::vector<std::unique_ptr<Path>> paths;
    std::vector<std::unique_ptr<Seed>> seeds;
    KNMovingSeedLayer movingLayer;
    KNKeptPicture keptPicture;
};

// Made current again for every case: the presented cases leave the windows' contexts current.
bool haveContext() {
    static const bool available = [] {
        std::string reason;
        if (!kinora::HeadlessContext::makeCurrent(&reason)) {
            std::fprintf(stderr, "drawing benchmarks left out: %s\n", reason.c_str());
            return false;
        }
        return true;
    }();
    return available && kinora::HeadlessContext::makeCurrent();
}

enum class Event { drag, edit };

// Range 0: width, 1: height, 2: seeds. floor: the same work drawn straight.
template <Event event, bool floor> void BM_Draw(benchmark::State& state) {
    if (!haveContext()) {
        state.SkipWithError("no headless GL context");
        return;
    }
    PlotScene plot(int(state.range(0)), int(state.range(1)), int(state.range(2)));
    plot.computeAll();
    // The first frame of a drag builds what the following ones reuse.
    if (!floor && event == Event::drag && state.range(2) > 1) {
        plot.drawMovingAndPresent();
    } else if (!floor) {
        plot.drawAndPresent();
    }
    for (auto _ : state) {
        if (event == Event::drag) {
            plot.moveALittle();
            plot.compute(plot.moving());
        } else {
            plot.computeAll();
        }
        if (floor) {
            plot.drawStraight();
        } else if (event == Event::drag && state.range(2) > 1) {
            plot.drawMovingAndPresent();
        } else {
            plot.drawAndPresent();
        }
    }
}

// A 1000-seed edit at 800x600 as the window draws it: the paths blanked, then filled 50 seeds at
// a time with a progress picture after each; or, the floor, one full pass once all are filled.
// Only the drawing is timed.
template <bool floor> void BM_ProgressEdit(benchmark::State& state) {
    if (!haveContext()) {
        state.SkipWithError("no headless GL context");
        return;
    }
    constexpr std::size_t batch = 50;
    PlotScene plot(800, 600, 1000);
    plot.computeAll();
    plot.drawAndPresent();
    for (auto _ : state) {
        state.PauseTiming();
        if (floor) {
            plot.computeAll();
            state.ResumeTiming();
            plot.drawAndPresent();
            continue;
        }
        plot.blankAll();
        state.ResumeTiming();
        plot.drawKeptAndPresent();
        for (std::size_t first = 0; first < plot.seedCount(); first += batch) {
            state.PauseTiming();
            for (std::size_t k = first; k < first + batch && k < plot.seedCount(); ++k) {
                plot.compute(plot.seedAt(k));
            }
            state.ResumeTiming();
            plot.drawKeptAndPresent();
        }
    }
}

BENCHMARK_TEMPLATE(BM_ProgressEdit, false)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_TEMPLATE(BM_ProgressEdit, true)->Unit(benchmark::kMillisecond)->Iterations(3);

const RatioRegistration progressEdit({"1000-seed edit drawing / one full pass",
                                      "BM_ProgressEdit<false>/iterations:3",
                                      "BM_ProgressEdit<true>/iterations:3", 1.2},
                                     {});

// 100 seeds' paths at 800x600 drawn as the view draws a picture, the paths as separate segments
// (each inner point indexed twice) or as strips; only the drawing is timed. The view draws
// strips: with Mesa's software renderer under load segments read 0.98-1.19 of them, never
// clearly faster, and take twice the index memory.
template <unsigned pathMode> void BM_PathMode(benchmark::State& state) {
    if (!haveContext()) {
        state.SkipWithError("no headless GL context");
        return;
    }
    PlotScene plot(800, 600, 100, pathMode);
    plot.computeAll();
    for (auto _ : state) {
        plot.drawAndPresent();
    }
}

BENCHMARK_TEMPLATE(BM_PathMode, GL_LINES)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_TEMPLATE(BM_PathMode, GL_LINE_STRIP)->Unit(benchmark::kMillisecond)->UseRealTime();

// Segments and strips must give the same picture, pixel for pixel.
void checkSamePathPixels() {
    if (!haveContext()) {
        return;
    }
    std::size_t differing = 0;
    {
        PlotScene segments(800, 600, 100, GL_LINES);
        PlotScene strips(800, 600, 100, GL_LINE_STRIP);
        segments.computeAll();
        strips.computeAll();
        segments.drawAndPresent();
        strips.drawAndPresent();
        const std::vector<std::uint32_t> a = segments.picturePixels();
        const std::vector<std::uint32_t> b = strips.picturePixels();
        for (std::size_t i = 0; i < a.size(); ++i) {
            differing += a[i] != b[i] ? 1 : 0;
        }
    }
    if (differing != 0) {
        std::fprintf(stderr, "paths as segments and as strips differ in %zu pixels\n", differing);
        std::exit(1);
    }
    // The presented cases make the windows' contexts current on this thread.
    kinora::HeadlessContext::release();
}

const RatioRegistration pathModes({"100 seeds drawn as GL_LINES / as GL_LINE_STRIP",
                                   "BM_PathMode<GL_LINES>/real_time",
                                   "BM_PathMode<GL_LINE_STRIP>/real_time", 1.0},
                                  checkSamePathPixels);

void dragCases(benchmark::internal::Benchmark* b) {
    b->Args({800, 600, 1})->Args({1600, 1200, 1})->Args({800, 600, 100});
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

void dragFloorCases(benchmark::internal::Benchmark* b) {
    b->Args({800, 600, 1})->Args({1600, 1200, 1});
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

void editCases(benchmark::internal::Benchmark* b) {
    b->Args({800, 600, 100})->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK_TEMPLATE(BM_Draw, Event::drag, false)->Apply(dragCases);
BENCHMARK_TEMPLATE(BM_Draw, Event::drag, true)->Apply(dragFloorCases);
BENCHMARK_TEMPLATE(BM_Draw, Event::edit, false)->Apply(editCases);
BENCHMARK_TEMPLATE(BM_Draw, Event::edit, true)->Apply(editCases);

const std::string drag = "BM_Draw<Event::drag, false>/";
const std::string dragFloor = "BM_Draw<Event::drag, true>/";
const std::string edit = "BM_Draw<Event::edit, false>/";
const std::string editFloor = "BM_Draw<Event::edit, true>/";
const std::string realTime = "/real_time";

const RatioRegistration dragOne({"drag 1 seed 800x600 / floor", drag + "800/600/1" + realTime,
                                 dragFloor + "800/600/1" + realTime, 1.2},
                                {});
const RatioRegistration dragOneLarge({"drag 1 seed 1600x1200 / floor",
                                      drag + "1600/1200/1" + realTime,
                                      dragFloor + "1600/1200/1" + realTime, 1.2},
                                     {});
// Dragging one of many seeds costs what dragging a lone seed does: the others are kept drawn.
const RatioRegistration dragOfHundred({"drag 1 of 100 seeds 800x600 / drag 1 seed 800x600",
                                       drag + "800/600/100" + realTime,
                                       drag + "800/600/1" + realTime, 1.0},
                                      {});
const RatioRegistration editHundred({"edit 100 seeds 800x600 / floor",
                                     edit + "800/600/100" + realTime,
                                     editFloor + "800/600/100" + realTime, 1.2},
                                    {});

} // namespace
