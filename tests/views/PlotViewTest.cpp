#include "Eventually.h"
#include "KNRenderCallbacks.h"
#include "Mesh.h"
#include "Path.h"
#include "Seed.h"
#include "Shader.h"
#include "ViewTestSupport.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <epoxy/gl.h>
#include <gtest/gtest.h>

namespace {

using Events = std::vector<std::string>;

class PlotViewTest : public testing::Test {
protected:
    static constexpr int size = 400;

    void SetUp() override {
        showAndAwake(view, size, size);
        view.setDelegate(delegate);
    }

    Path* pathAt(int index) { return dynamic_cast<Path*>(view.scene->getRenderable(index)); }

    QPointF onScreen(kinora::Vector3 position) {
        return projectToView(*view.scene, position, size, size);
    }

    TestPlotView view;
    std::shared_ptr<RecordingPlotDelegate> delegate = std::make_shared<RecordingPlotDelegate>();
};

TEST_F(PlotViewTest, SetsUpBlendingAndTheSharedPointMesh) {
    EXPECT_TRUE(view.scene->blendEnabled);
    ASSERT_TRUE(view.cubeMesh);
    EXPECT_EQ(readFloatBuffer(view.cubeMesh->vertexBuffer), std::vector<float>(6, 0.0f));
    EXPECT_EQ(view.scene->renderables.size(), 1u);
    int calls = 0;
    view.enumerateSeedsWithBlock([&](Seed*) { ++calls; });
    EXPECT_EQ(calls, 0);
}

TEST_F(PlotViewTest, EachSeedTakesItsOwnIndexThenTwentyForItsPaths) {
    Seed* first = view.addSeed();
    Seed* second = view.addSeed();
    EXPECT_EQ(first->sceneID, 1);
    EXPECT_EQ(second->sceneID, 22);
    ASSERT_EQ(first->pathCount, 20);
    ASSERT_EQ(first->pathIDs.size(), 20u);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(first->pathIDs[i], 2 + i);
        EXPECT_EQ(second->pathIDs[i], 23 + i);
    }
    EXPECT_EQ(view.scene->getRenderable(1), first);
    EXPECT_EQ(view.scene->renderables.size(), 43u);
}

TEST_F(PlotViewTest, NewPathsSpanTheSweepAndDrawNothing) {
    Seed* seed = view.addSeed();
    for (int i = 0; i < 20; ++i) {
        Path* path = pathAt(seed->pathIDs[i]);
        ASSERT_NE(path, nullptr);
        EXPECT_EQ(path->sValue, static_cast<float>(i) / 19.0f);
        EXPECT_EQ(path->mesh->getIndexCount(), 1);
        EXPECT_EQ(readFloatBuffer(path->mesh->vertexBuffer), std::vector<float>(6, 0.0f));
        EXPECT_EQ(readIndexBuffer(path->mesh->indexBuffer), std::vector<unsigned>{0});
    }
    EXPECT_EQ(pathAt(seed->pathIDs[19])->sValue, 1.0f);
    // No GL object of their own until filled: all draw the view's one blank mesh.
    EXPECT_EQ(pathAt(seed->pathIDs[0])->mesh, pathAt(seed->pathIDs[1])->mesh);
    EXPECT_EQ(pathAt(seed->pathIDs[0])->vertexArray, 0u);
}

TEST_F(PlotViewTest, APathIsDrawnFromItsSeedAndRefillsItsMeshInPlace) {
    Seed* seed = view.addSeed();
    seed->transform.position = kinora::Vector3(0.5, -1.0, 2.0);
    Path* path = pathAt(seed->pathIDs[3]);
    const std::vector<float> vertices = {1, 2, 3, 0.5f, 0.5f, 0.5f, 4, 5, 6,
                                         1, 1, 1, 7,    8,    9,    2, 2, 2};
    const std::vector<std::uint32_t> indices = {0, 1, 2};
    view.replacePathWithID(seed->pathIDs[3], vertices.data(), indices.data(), 3, 3, 0.25f);
    EXPECT_EQ(path->sValue, 0.25f);
    EXPECT_NE(path->mesh, pathAt(seed->pathIDs[4])->mesh);
    const unsigned buffer = path->mesh->vertexBuffer;
    std::vector<float> fromSeed = {0.5f, -1.0f, 2.0f, 0, 0, 0};
    fromSeed.insert(fromSeed.end(), vertices.begin(), vertices.end());
    EXPECT_EQ(readFloatBuffer(buffer), fromSeed);
    EXPECT_EQ(readIndexBuffer(path->mesh->indexBuffer), (std::vector<unsigned>{0, 1, 2, 3}));
    // A transient hides the first vertices, and the line no longer starts at the seed.
    view.replacePathWithID(seed->pathIDs[3], vertices.data(), indices.data(), 3, 3, 0.25f, 1);
    EXPECT_EQ(readFloatBuffer(buffer), std::vector<float>(vertices.begin() + 6, vertices.end()));
    EXPECT_EQ(readIndexBuffer(path->mesh->indexBuffer), (std::vector<unsigned>{0, 1}));
    // The other paths are untouched; a blanked one draws nothing again, and keeps its buffers
    // for its next contents, with nothing sent to the GL.
    EXPECT_EQ(pathAt(seed->pathIDs[4])->mesh->getIndexCount(), 1);
    view.blankPathWithID(seed->pathIDs[3]);
    EXPECT_TRUE(path->drawsNothing());
    EXPECT_EQ(readIndexBuffer(path->mesh->indexBuffer), (std::vector<unsigned>{0, 1}));
    view.replacePathWithID(seed->pathIDs[3], vertices.data(), indices.data(), 3, 3, 0.25f);
    EXPECT_EQ(path->mesh->vertexBuffer, buffer);
    EXPECT_EQ(readIndexBuffer(path->mesh->indexBuffer), (std::vector<unsigned>{0, 1, 2, 3}));
}

TEST_F(PlotViewTest, RemovingTheSelectedSeedFreesItsIndicesForReuse) {
    Seed* first = view.addSeed();
    Seed* second = view.addSeed();
    second->transform.position = kinora::Vector3(3.0, 3.0, 0.0);
    view.redraw();
    clickAt(view, onScreen(first->transform.position));
    ASSERT_EQ(view.selected, first);
    delegate->events.clear();

    view.removeSelectedSeed();
    EXPECT_EQ(view.selected, nullptr);
    EXPECT_EQ(delegate->events, Events{"deselected 0"});
    for (int index = 1; index <= 21; ++index) {
        EXPECT_EQ(view.scene->getRenderable(index), nullptr) << index;
    }
    std::vector<Seed*> remaining;
    view.enumerateSeedsWithBlock([&](Seed* seed) { remaining.push_back(seed); });
    EXPECT_EQ(remaining, std::vector<Seed*>{second});

    Seed* third = view.addSeed();
    EXPECT_EQ(third->sceneID, 1);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(third->pathIDs[i], 21 - i);
    }
    view.enumerateSeedsWithBlock([&](Seed* seed) { remaining.push_back(seed); });
    EXPECT_EQ(remaining, (std::vector<Seed*>{second, second, third}));
}

TEST_F(PlotViewTest, RemovingWithoutASelectionDoesNothing) {
    view.addSeed();
    view.removeSelectedSeed();
    EXPECT_TRUE(delegate->events.empty());
    EXPECT_EQ(view.plotPicture().seedCount(), 1u);
    EXPECT_NE(view.scene->getRenderable(1), nullptr);
}

TEST_F(PlotViewTest, ClicksSelectAndDeselectSeeds) {
    Seed* seed = view.addSeed();
    view.redraw();
    const QPointF centre = onScreen(seed->transform.position);

    clickAt(view, {20, 20});
    EXPECT_EQ(delegate->events, Events{"deselected 0"});
    EXPECT_EQ(view.selected, nullptr);

    delegate->events.clear();
    clickAt(view, centre);
    EXPECT_EQ(delegate->events, (Events{"deselected 0", "selected 0"}));
    EXPECT_EQ(view.selected, seed);
    EXPECT_TRUE(seed->isSelected);

    // The selected seed clicked again: deselected, then selected again.
    delegate->events.clear();
    view.redraw();
    clickAt(view, centre);
    EXPECT_EQ(delegate->events, (Events{"deselected 0", "selected 0"}));
    EXPECT_TRUE(seed->isSelected);

    delegate->events.clear();
    clickAt(view, {20, 20});
    EXPECT_EQ(delegate->events, Events{"deselected 0"});
    EXPECT_FALSE(seed->isSelected);
    EXPECT_EQ(view.selected, nullptr);
}

TEST_F(PlotViewTest, APickableObjectThatIsNoSeedIsNeverSelected) {
    // A point drawn with the pick program, as a seed is, but of another type.
    auto mesh = makePointMesh();
    kinora::Renderable stranger(mesh.get(), view.pickShader.get(), GL_POINTS);
    stranger.prepareDraw = prepareHandleDraw;
    stranger.createVertexArray();
    stranger.transform.position = kinora::Vector3(2.0, 2.0, 0.0);
    const int index = view.scene->addRenderable(&stranger);
    // The one pass that draws the pick image along with the picture.
    view.scene->draw();

    const QPointF where = onScreen(stranger.transform.position);
    EXPECT_EQ(view.scene->pick(static_cast<int>(where.x()), static_cast<int>(where.y())), index);
    clickAt(view, where);
    EXPECT_EQ(view.selected, nullptr);
    EXPECT_EQ(delegate->events, Events{"deselected 0"});
    dragFromTo(view, where, where + QPointF(30, 0));
    EXPECT_EQ(stranger.transform.position.x, 2.0);
    view.scene->removeRenderable(index);
}

TEST_F(PlotViewTest, ADraggedSeedStaysUnderTheCursor) {
    Seed* seed = view.addSeed();
    view.redraw();
    const QPointF start = onScreen(seed->transform.position);
    EXPECT_NEAR(start.x(), 200.0, 1e-9);

    pressAt(view, start);
    delegate->events.clear();
    moveTo(view, start + QPointF(30, 20));
    // 10 units away behind a half-height of 1 at distance 2: 10 / 400 units per point.
    EXPECT_NEAR(seed->transform.position.x, 30 * 10.0 / size, 1e-5);
    EXPECT_NEAR(seed->transform.position.y, 20 * 10.0 / size, 1e-5);
    EXPECT_NEAR(seed->transform.position.z, 0.0, 1e-9);
    moveTo(view, start + QPointF(-50, 60));
    releaseAt(view, start + QPointF(-50, 60));

    const QPointF end = onScreen(seed->transform.position);
    EXPECT_NEAR(end.x(), start.x() - 50, 1e-3);
    EXPECT_NEAR(end.y(), start.y() + 60, 1e-3);
    EXPECT_EQ(delegate->events, (Events{"moved", "moved"}));
    EXPECT_EQ(delegate->movedSeeds, (std::vector<Seed*>{seed, seed}));
}

TEST_F(PlotViewTest, ASeedInAScaledSceneMovesLessAndStaysUnderTheCursor) {
    Seed* seed = view.addSeed();
    view.setZoom(2.0f);
    view.redraw();
    const QPointF start = onScreen(seed->transform.position);
    dragFromTo(view, start, start + QPointF(40, 0));
    EXPECT_NEAR(seed->transform.position.x, 40 * 5.0 / size, 1e-5);
    EXPECT_NEAR(seed->transform.position.y, 0.0, 1e-9);
    const QPointF end = onScreen(seed->transform.position);
    EXPECT_NEAR(end.x(), start.x() + 40, 1e-3);
    EXPECT_NEAR(end.y(), start.y(), 1e-3);
}

TEST_F(PlotViewTest, DraggingASeedOfATurnedSceneFollowsTheScreen) {
    Seed* seed = view.addSeed();
    view.redraw();
    dragFromTo(view, {10, 10}, {100, 10});
    ASSERT_EQ(view.selected, nullptr);
    const QPointF start = onScreen(seed->transform.position);
    dragFromTo(view, start, start + QPointF(40, 0));
    // The screen's right is the scene's +z after a quarter turn about +y.
    EXPECT_NEAR(seed->transform.position.z, 1.0, 1e-5);
    EXPECT_NEAR(seed->transform.position.x, 0.0, 1e-6);
    EXPECT_NEAR(seed->transform.position.y, 0.0, 1e-6);
}

TEST_F(PlotViewTest, SeedsFarBeyondTheEightBitIdsCanBePickedAndDragged) {
    std::vector<Seed*> seeds;
    for (int i = 0; i < 100; ++i) {
        seeds.push_back(view.addSeed());
    }
    Seed* fourteenth = seeds[13];
    Seed* hundredth = seeds[99];
    EXPECT_EQ(fourteenth->sceneID, 274);
    EXPECT_EQ(hundredth->sceneID, 2080);
    fourteenth->transform.position = kinora::Vector3(3.0, 2.0, 0.0);
    hundredth->transform.position = kinora::Vector3(-3.0, -2.0, 0.0);
    view.redraw();

    for (Seed* seed : {fourteenth, hundredth}) {
        delegate->events.clear();
        delegate->movedSeeds.clear();
        const kinora::Vector3 before = seed->transform.position;
        const QPointF where = onScreen(before);
        dragFromTo(view, where, where + QPointF(0, -20));
        EXPECT_EQ(view.selected, seed);
        EXPECT_TRUE(seed->isSelected);
        EXPECT_EQ(delegate->movedSeeds, std::vector<Seed*>{seed});
        EXPECT_NEAR(seed->transform.position.y, before.y - 0.5, 1e-5);
        EXPECT_EQ(seeds[0]->transform.position.y, 0.0);
    }
}

TEST_F(PlotViewTest, AGoneDelegateIsNoLongerTold) {
    Seed* seed = view.addSeed();
    view.redraw();
    const QPointF centre = onScreen(seed->transform.position);
    delegate.reset();
    EXPECT_EQ(view.delegate(), nullptr);
    dragFromTo(view, centre, centre + QPointF(10, 0));
    EXPECT_TRUE(seed->isSelected);
    EXPECT_GT(seed->transform.position.x, 0.0);
    view.removeSelectedSeed();
    EXPECT_EQ(view.plotPicture().seedCount(), 0u);
}

TEST_F(PlotViewTest, ShowsTheSeedAndItsPathOnScreen) {
    Seed* seed = view.addSeed();
    // A hand-made spiral about the seed.
    std::vector<float> vertices;
    std::vector<std::uint32_t> indices;
    for (int i = 0; i < 200; ++i) {
        const double angle = i * 0.1;
        const double radius = 0.5 + i * 0.015;
        const float x = static_cast<float>(radius * std::cos(angle));
        const float y = static_cast<float>(radius * std::sin(angle));
        vertices.insert(vertices.end(), {x, y, 0.0f, x, y, 0.0f});
        indices.push_back(static_cast<std::uint32_t>(i));
    }
    view.replacePathWithID(seed->pathIDs[0], vertices.data(), indices.data(), 200, 200, 0.0f);
    view.redraw();

    // The seed: a white point in the middle. The path: coloured pixels on the spiral, off the
    // axes. A loaded X server may show the picture late, so look until it does.
    QColor middle;
    int coloured = 0;
    const bool shown = eventually([&] {
        const QImage shot = view.screen()->grabWindow(view.winId()).toImage();
        if (shot.width() != size) {
            return false;
        }
        middle = shot.pixelColor(size / 2, size / 2);
        coloured = 0;
        for (int i = 20; i < 200; ++i) {
            const QPointF at = onScreen(kinora::Vector3(vertices[6 * i], vertices[6 * i + 1], 0.0));
            const QColor colour =
                shot.pixelColor(qBound(0, static_cast<int>(at.x()), size - 1),
                                qBound(0, size - 1 - static_cast<int>(at.y()), size - 1));
            coloured += colour.red() + colour.green() + colour.blue() > 90 ? 1 : 0;
        }
        return std::min({middle.red(), middle.green(), middle.blue()}) > 200 && coloured > 150;
    });
    EXPECT_TRUE(shown) << "middle " << middle.name().toStdString() << ", " << coloured
                       << " of 180 spiral pixels coloured";
}

TEST_F(PlotViewTest, PathsArePickedWhereTheyAreDrawnAndSeedsWinOverThem) {
    Seed* seed = view.addSeed();
    std::vector<std::pair<const Seed*, int>> hovered;
    std::vector<std::pair<const Seed*, int>> clicked;
    view.setPathHandlers([&](const Seed* s, int m) { hovered.emplace_back(s, m); },
                         [&](const Seed* s, int m) { clicked.emplace_back(s, m); });
    // From the seed at the origin to a level line through the middle of a pixel row, 40 points
    // a unit: y = 1.0125 lies at 240.5 points.
    const float y = 1.0125f;
    const std::vector<float> vertices = {-3, y, 0, 0, 0, 0, 3, y, 0, 0, 0, 0};
    const std::vector<std::uint32_t> indices = {0, 1};
    view.replacePathWithID(seed->pathIDs[3], vertices.data(), indices.data(), 2, 2, 0.5f);
    view.redraw();
    const QPointF onPath = onScreen(kinora::Vector3(2.0, y, 0.0));
    const QPointF offPath = onPath + QPointF(0, 3);

    clickAt(view, onPath);
    EXPECT_EQ(clicked, (std::vector<std::pair<const Seed*, int>>{{seed, 3}}));
    // The path's seed is selected, but a drag from the path turns the scene.
    EXPECT_EQ(view.selected, seed);
    clickAt(view, offPath);
    EXPECT_EQ(clicked.back(), (std::pair<const Seed*, int>{nullptr, -1}));
    // The path starts under its seed: there, the seed is picked and no path is reported.
    clicked.clear();
    clickAt(view, onScreen(seed->transform.position));
    EXPECT_TRUE(clicked.empty());
    EXPECT_EQ(view.selected, seed);

    moveTo(view, onPath);
    QTRY_VERIFY_WITH_TIMEOUT(!hovered.empty(), 30000);
    EXPECT_EQ(hovered.back(), (std::pair<const Seed*, int>{seed, 3}));
    moveTo(view, offPath);
    QTRY_VERIFY_WITH_TIMEOUT(hovered.size() == 2, 30000);
    EXPECT_EQ(hovered.back(), (std::pair<const Seed*, int>{nullptr, -1}));

    // Soloed, the path keeps its colour and every other path is dimmed.
    view.setPathFocus(seed->pathIDs[3], seed->pathIDs[3]);
    EXPECT_FALSE(pathAt(seed->pathIDs[3])->dimmed);
    EXPECT_TRUE(pathAt(seed->pathIDs[2])->dimmed);
    view.setPathFocus(-1, -1);
    EXPECT_FALSE(pathAt(seed->pathIDs[2])->dimmed);
}

TEST_F(PlotViewTest, WherePathsOverlapTheNearerIsPickedAndNothingBeyondTheTimeCursor) {
    Seed* seed = view.addSeed();
    seed->transform.position = kinora::Vector3(0.0, -3.0, 0.0);
    std::vector<std::pair<const Seed*, int>> clicked;
    view.setPathHandlers({}, [&](const Seed* s, int m) { clicked.emplace_back(s, m); });
    // Two level lines that show on the same pixel row, 40.5 points above the middle: the nearer
    // one (z = 2) is drawn first, the farther one (z = -2) over it.
    const auto lineAt = [&](int evolution, float z) {
        const double unit = onScreen({0, 1, z}).y() - onScreen({0, 0, z}).y();
        const auto y = static_cast<float>(40.5 / unit);
        const std::vector<float> vertices = {-1, y, z, 0, 0, 0, 1, y, z, 0, 0, 0};
        const std::vector<std::uint32_t> indices = {0, 1};
        view.replacePathWithID(seed->pathIDs[evolution], vertices.data(), indices.data(), 2, 2,
                               0.5f);
        return kinora::Vector3(0.5, y, z);
    };
    const QPointF overlap = onScreen(lineAt(3, 2.0f));
    ASSERT_NEAR(onScreen(lineAt(4, -2.0f)).y(), overlap.y(), 1e-3);
    view.redraw();
    clickAt(view, overlap);
    EXPECT_EQ(clicked.back(), (std::pair<const Seed*, int>{seed, 3}));

    // At t = 0 every path is only its head, at the seed.
    view.setTimeFraction(0.0);
    view.redraw();
    clickAt(view, overlap);
    EXPECT_EQ(clicked.back(), (std::pair<const Seed*, int>{nullptr, -1}));
}

} // namespace
