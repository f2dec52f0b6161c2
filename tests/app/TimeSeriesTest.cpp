#include "ControllerTest.h"
#include "KNPlotWindow.h"
#include "KNStatusReporter.h"
#include "KNTimeCursorControls.h"
#include "KNTimeSeriesView.h"
#include "Path.h"

#include <QDir>
#include <algorithm>

namespace {

// Path-coloured pixels of image in each third of its height, top first.
std::array<int, 3> pathPixelsPerThird(const QImage& image) {
    std::array<int, 3> counts{};
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            counts[static_cast<std::size_t>(std::min(2, 3 * y / image.height()))] +=
                isPathColour(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return counts;
}

// The plot view's picture above its colour key, which is drawn in the paths' colours.
QImage aboveTheKey(const QImage& image) {
    return image.copy(0, 0, image.width(), image.height() * 2 / 3);
}

// The smallest rectangle holding every path-coloured pixel of the picture above the key.
QRect pathPixelBounds(const QImage& picture) {
    const QImage image = aboveTheKey(picture);
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (isPathColour(image.pixel(x, y))) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

class TimeSeriesTest : public ControllerTest {
protected:
    int runHeadless(const QStringList& arguments, QByteArray* errors = nullptr) {
        return ::runHeadless(folder.filePath("data"), arguments, errors);
    }
};

TEST_F(TimeSeriesTest, ThePanelShowsTheSelectedSeedsPathsAndFollowsItsChanges) {
    auto controller = lorenzWindow();
    controller->changeParameterSweep(0, 10.0, 28.0);
    waitForRecomputation(*controller);
    KNTimeSeriesView* panel = controller->window()->timeSeriesView();
    const QSize size(600, 300);
    EXPECT_FALSE(panel->showsSeed());
    EXPECT_EQ(countPathPixels(panel->renderImage(size)), 0);

    controller->plotView()->selectSeed(firstSeed(*controller));
    ASSERT_TRUE(panel->showsSeed());
    const QImage selected = panel->renderImage(size);
    for (int pixels : pathPixelsPerThird(selected)) {
        EXPECT_GT(pixels, 500);
    }
    // The range follows the data, with every tick inside its plot.
    const kinora::TimeSeriesLayout layout = panel->layout(600, 300);
    for (const kinora::TimeSeriesBand& band : layout.bands) {
        ASSERT_FALSE(band.ticks.empty());
        EXPECT_GE(band.ticks.front(), band.low);
        EXPECT_LE(band.ticks.back(), band.high);
    }
    EXPECT_LT(layout.bands[2].low, 5.0);
    EXPECT_GT(layout.bands[2].high, 30.0);

    // A moved seed's paths show at once, with their new range.
    controller->moveSelectedSeed({20.0, -20.0, 60.0});
    waitForRecomputation(*controller);
    EXPECT_GT(panel->layout(600, 300).bands[2].high, 60.0);
    EXPECT_NE(panel->renderImage(size), selected);

    controller->cancelOperation();
    EXPECT_FALSE(panel->showsSeed());
    EXPECT_EQ(countPathPixels(panel->renderImage(size)), 0);

    // Removing the selected seed lets the panel go of its paths before they are deleted.
    controller->plotView()->selectSeed(firstSeed(*controller));
    controller->removeSeed();
    EXPECT_FALSE(panel->showsSeed());
    EXPECT_EQ(countPathPixels(panel->renderImage(size)), 0);

    controller->window()->setTimeSeriesShown(false);
    EXPECT_FALSE(
        controller->window()->ui().timeSeriesPlaceholder->isVisibleTo(controller->window()));
}

// A path pointed at in the panel is named in the status bar, a click solos it in both views,
// and Escape shows every path again before it deselects the seed.
TEST_F(TimeSeriesTest, APathPointedAtInThePanelIsNamedAndAClickSolosIt) {
    auto controller = lorenzWindow();
    controller->changeParameterSweep(0, 10.0, 28.0);
    controller->showWindow();
    ASSERT_TRUE(settle(*controller));
    controller->plotView()->selectSeed(firstSeed(*controller));
    KNTimeSeriesView* panel = controller->window()->timeSeriesView();
    ASSERT_TRUE(eventually([&] { return panel->isExposed() && !panel->isDrawing(); }));
    const QImage picture = panel->renderImage(panel->size());
    QPoint onTrace(-1, -1);
    for (int y = 0; y < picture.height() && onTrace.x() < 0; ++y) {
        for (int x = picture.width() / 2; x < picture.width() && onTrace.x() < 0; ++x) {
            onTrace = isPathColour(picture.pixel(x, y)) ? QPoint(x, y) : onTrace;
        }
    }
    ASSERT_GE(onTrace.x(), 0) << "no trace in the panel";

    const kinora::PathFocus& focus = controller->exploration().pathFocus();
    QTest::mouseMove(panel, onTrace);
    ASSERT_TRUE(eventually([&] { return focus.hovered().has_value(); }));
    const kinora::EvolutionRef hovered = *focus.hovered();
    EXPECT_EQ(hovered.seed, 0u);
    const std::string named =
        "Seed 1, evolution " + std::to_string(hovered.evolution + 1) + " of 10";
    EXPECT_TRUE(eventually([&] {
        return controller->statusReporter()->currentMessage().toStdString().starts_with(named);
    })) << controller->statusReporter()->currentMessage().toStdString();

    QTest::mouseClick(panel, Qt::LeftButton, {}, onTrace);
    ASSERT_TRUE(focus.soloed().has_value());
    EXPECT_EQ(*focus.soloed(), hovered);
    ASSERT_TRUE(eventually([&] {
        const std::vector<const Path*> paths =
            controller->plotView()->pathsOf(firstSeed(*controller));
        return std::all_of(paths.begin(), paths.end(), [&](const Path* path) {
            return path->dimmed == (path != paths[static_cast<std::size_t>(hovered.evolution)]);
        });
    }));

    controller->cancelOperation();
    EXPECT_FALSE(focus.soloed().has_value());
    EXPECT_TRUE(panel->showsSeed());
    controller->cancelOperation();
    EXPECT_FALSE(panel->showsSeed());
}

} // namespace

namespace {

TEST_F(TimeSeriesTest, TheCursorDrawsPathsUpToItAndAtTheEndShowsTheWholePicture) {
    auto controller = lorenzWindow();
    controller->changeParameterSweep(0, 10.0, 28.0);
    controller->changeParameterSweep(1, 10.0, 10.0);
    controller->changeParameterSweep(2, 8.0 / 3.0, 8.0 / 3.0);
    waitForRecomputation(*controller);
    controller->fitViews();
    KNPlotView* view = controller->plotView();
    const QSize size(480, 360);
    const QImage whole = view->renderImage(size);
    KNTimeCursorControls* cursor = controller->timeCursorControls();
    ASSERT_NE(cursor, nullptr);

    cursor->slider()->setValue(KNTimeCursorControls::sliderSteps / 4);
    EXPECT_EQ(controller->exploration().timeFraction(), 0.25);
    const QImage quarter = view->renderImage(size);
    EXPECT_GT(countPathPixels(quarter), 100);
    EXPECT_LT(countPathPixels(quarter), countPathPixels(whole));
    // A path computed while the cursor stands keeps to it.
    controller->plotView()->selectSeed(firstSeed(*controller));
    controller->moveSelectedSeed({2.0, 2.0, 2.0});
    waitForRecomputation(*controller);
    const PathContents first = pathsOf(view, firstSeed(*controller)).front();
    EXPECT_EQ(static_cast<std::int32_t>(first.indices.size()),
              controller->exploration().verticesUpToCursor());

    controller->moveSelectedSeed({1.0, 1.0, 1.0});
    waitForRecomputation(*controller);
    controller->cancelOperation();
    cursor->setTimeFraction(1.0);
    EXPECT_EQ(view->renderImage(size), whole);

    // Playing starts again from the seed and moves the cursor on.
    cursor->togglePlaying();
    EXPECT_TRUE(cursor->isPlaying());
    QTRY_VERIFY_WITH_TIMEOUT(controller->exploration().timeFraction() > 0.02, 30'000);
    cursor->togglePlaying();
    EXPECT_FALSE(cursor->isPlaying());
    EXPECT_LT(controller->exploration().timeFraction(), 1.0);
}

} // namespace

namespace {

TEST_F(TimeSeriesTest, AfterATransientTheCursorDrawsFromTheFirstShownPointUpToIt) {
    auto controller = lorenzWindow();
    controller->changeParameterSweep(0, 10.0, 28.0);
    controller->changeParameterSweep(1, 10.0, 10.0);
    controller->changeParameterSweep(2, 8.0 / 3.0, 8.0 / 3.0);
    kinora::Exploration& exploration = controller->exploration();
    controller->changeTransient(exploration.pathDuration() / 2.0);
    waitForRecomputation(*controller);
    controller->fitViews();
    KNPlotView* view = controller->plotView();
    KNTimeCursorControls* cursor = controller->timeCursorControls();
    const QSize size(480, 360);

    // Before the transient ends there is no path yet, and so no head.
    cursor->setTimeFraction(0.25);
    EXPECT_EQ(countPathPixels(aboveTheKey(view->renderImage(size))), 0);

    cursor->setTimeFraction(0.75);
    EXPECT_GT(countPathPixels(aboveTheKey(view->renderImage(size))), 50);
    const std::int32_t hidden = exploration.hiddenVertexCount();
    ASSERT_GT(hidden, 0);
    const kinora::Trajectory expected =
        expectedTrajectory(controller->system(), exploration.integrator().integrationStep(), 0.0,
                           firstSeed(*controller)->transform.position);
    // The line runs from the first point after the transient to the last one the cursor reached.
    const PathContents first = pathsOf(view, firstSeed(*controller)).front();
    EXPECT_EQ(static_cast<std::int32_t>(first.indices.size()) + 1,
              exploration.verticesUpToCursor() - hidden);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(
            first.start[static_cast<std::size_t>(k)],
            static_cast<float>(expected.vertices[static_cast<std::size_t>(hidden)].position[k]));
    }
}

TEST_F(TimeSeriesTest, TheFramesExportRunsFromTheHeadsAtTheSeedToTheWholePicture) {
    const QString script =
        writeFile(folder, "one.js",
                  "var parameters = ['rho', 'sigma', 'beta'];\n"
                  "function evolution(p, x, y, z) {\n"
                  "    return [p[1] * (y - x), x * (p[0] - z) - y,\n"
                  "            x * y - p[2] * z];\n"
                  "}\n"
                  "var initial = {sweep: {rho: [10, 28], sigma: 10, beta: 2.6},\n"
                  "               seeds: [[1, 1, 1]], duration: 10};\n");
    const QString frames = folder.filePath("frames");
    QByteArray errors;
    ASSERT_EQ(runHeadless({"--export-frames", frames, "--frames", "3", "--size", "320x240", script},
                          &errors),
              0)
        << errors.toStdString();
    EXPECT_EQ(QDir(frames).entryList(QDir::Files),
              (QStringList{"frame-0000.png", "frame-0001.png", "frame-0002.png"}));
    const QString picture = folder.filePath("whole.png");
    ASSERT_EQ(runHeadless({"--export-image", picture, "--size", "320x240", script}), 0);
    const QImage whole(picture);
    EXPECT_EQ(QImage(frames + "/frame-0002.png"), whole);
    // At t = 0 every path is only its head, a dot on the seed.
    const QImage first(frames + "/frame-0000.png");
    const QRect heads = pathPixelBounds(first);
    EXPECT_FALSE(heads.isEmpty());
    EXPECT_LE(heads.width(), 12);
    EXPECT_LE(heads.height(), 12);
    EXPECT_GT(pathPixelBounds(QImage(frames + "/frame-0001.png")).width(), 50);

    // The time-series panel of the same seed shows all three variables.
    ASSERT_EQ(runHeadless(
                  {"--export-image", picture, "--view", "time-series", "--size", "600x300", script},
                  &errors),
              0)
        << errors.toStdString();
    const QImage series(picture);
    EXPECT_EQ(series.size(), QSize(600, 300));
    for (int pixels : pathPixelsPerThird(series)) {
        EXPECT_GT(pixels, 300);
    }

    // Mistakes are refused before anything is drawn; a folder that cannot be made fails.
    EXPECT_EQ(runHeadless({"--export-frames", frames, "--frames", "1", script}, &errors), 2);
    EXPECT_TRUE(errors.contains("--frames needs a whole number of pictures")) << errors.data();
    EXPECT_EQ(runHeadless({"--export-frames", frames, script}, &errors), 2);
    EXPECT_TRUE(errors.contains("--export-frames needs --frames N")) << errors.data();
    EXPECT_EQ(runHeadless({"--export-frames", picture, "--frames", "2", script}, &errors), 2);
    EXPECT_TRUE(errors.contains("is a file, not a folder")) << errors.data();
    // Fewer pictures would leave the earlier last one to end a video made from the folder.
    EXPECT_EQ(runHeadless({"--export-frames", frames, "--frames", "2", script}, &errors), 2);
    EXPECT_TRUE(errors.contains("already holds frame-0002.png")) << errors.data();
    EXPECT_EQ(
        runHeadless({"--export-frames", picture + "/inside", "--frames", "2", script}, &errors), 1);
    EXPECT_TRUE(errors.contains("cannot be made")) << errors.data();
}

} // namespace
