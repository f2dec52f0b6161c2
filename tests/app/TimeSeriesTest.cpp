#include "ControllerTest.h"
#include "KNPlotWindow.h"
#include "KNTimeCursorControls.h"
#include "KNTimeSeriesView.h"

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

class TimeSeriesTest : public ControllerTest {};

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
