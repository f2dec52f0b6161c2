#include "Eventually.h"
#include "Framebuffer.h"
#include "KNImageLimits.h"
#include "Scene.h"
#include "Seed.h"
#include "ViewTestSupport.h"

#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <cstdint>
#include <epoxy/gl.h>
#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t white = 0xFFFFFFFF;

class DrawingTest : public testing::Test {
protected:
    static constexpr int size = 300;

    void SetUp() override { showAndAwake(view, size, size); }

    // Colour attachment 0 of the view's images, bottom row first, RGBA packed red highest.
    std::vector<std::uint32_t> picture() {
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size * size));
        view.framebuffer->bind();
        glReadBuffer(GL_COLOR_ATTACHMENT0);
        glReadPixels(0, 0, size, size, GL_RGBA, GL_UNSIGNED_INT_8_8_8_8, pixels.data());
        view.framebuffer->unbind();
        return pixels;
    }

    // The picture as the one pass over every renderable in index order draws it.
    std::vector<std::uint32_t> referencePicture() {
        view.scene->draw();
        view.plotPicture().drawOverlay(*view.framebuffer, 1.0);
        return picture();
    }

    // Paths winding round the seed through depth, so seeds and paths cross in front of and
    // behind each other.
    void fillPaths(Seed* seed, int count) {
        const kinora::Vector3 c = seed->transform.position;
        for (int m = 0; m < count; ++m) {
            std::vector<float> vertices;
            std::vector<std::uint32_t> indices;
            for (int i = 0; i < 400; ++i) {
                const double angle = i * 0.05 + m;
                const double radius = 0.4 + 0.15 * m + i * 0.004;
                const float x = static_cast<float>(c.x + radius * std::cos(angle));
                const float y = static_cast<float>(c.y + radius * std::sin(angle));
                const float z = static_cast<float>(c.z + 2.0 * std::sin(angle * 0.7));
                vertices.insert(vertices.end(), {x, y, z, x, y, z});
                indices.push_back(static_cast<std::uint32_t>(i));
            }
            view.replacePathWithID(seed->pathIDs[m], vertices.data(), indices.data(), 400, 400,
                                   m / 9.0f);
        }
    }

    // One path of a seed long enough to be drawn in several parts: a coil through the view.
    void fillLongPath(Seed* seed, int vertexCount) {
        std::vector<float> vertices;
        std::vector<std::uint32_t> indices;
        for (int i = 0; i < vertexCount; ++i) {
            const double angle = i * 0.013;
            const float x = static_cast<float>(2.0 * std::cos(angle));
            const float y = static_cast<float>(1.5 * std::sin(angle * 1.01));
            const float z = static_cast<float>(-2.0 + 4.0 * i / vertexCount);
            vertices.insert(vertices.end(), {x, y, z, x, y, z});
            indices.push_back(static_cast<std::uint32_t>(i));
        }
        view.replacePathWithID(seed->pathIDs[0], vertices.data(), indices.data(), vertexCount,
                               vertexCount, 0.5f);
    }

    // Draws the picture a part at a time, as slices with no time left do; returns the slices.
    int drawInSlices() {
        kinora::ScenePass pass;
        int slices = 1;
        while (!view.plotPicture().drawPicture(*view.framebuffer, pass,
                                               kinora::ScenePass::Clock::time_point::min())) {
            ++slices;
        }
        view.plotPicture().drawOverlay(*view.framebuffer, 1.0);
        return slices;
    }

    std::vector<Seed*> addCrowd(int count) {
        std::vector<Seed*> crowd;
        for (int i = 0; i < count; ++i) {
            Seed* seed = view.addSeed();
            seed->transform.position =
                kinora::Vector3(-2.5 + i * 5.0 / count, 0.3 * (i % 3) - 0.3, 0.5 * (i % 2));
            fillPaths(seed, 10);
            crowd.push_back(seed);
        }
        return crowd;
    }

    QPointF onScreen(kinora::Vector3 position) {
        return projectToView(*view.scene, position, size, size);
    }

    static int count(const std::vector<std::uint32_t>& pixels, std::uint32_t colour) {
        return static_cast<int>(std::count(pixels.begin(), pixels.end(), colour));
    }

    TestPlotView view;
};

TEST_F(DrawingTest, TheShownPictureIsTheOnePassPicture) {
    addCrowd(6);
    view.redraw();
    const std::vector<std::uint32_t> shown = picture();
    EXPECT_GT(count(shown, white), 6 * 50);
    EXPECT_EQ(shown, referencePicture());
}

TEST_F(DrawingTest, PathsFilledIntoBlanksAreDrawnOntoTheKeptPictureAsOnePassDrawsThem) {
    const std::vector<Seed*> crowd = addCrowd(6);
    view.redraw();
    // A long recomputation blanks the paths it has yet to compute, then fills them seed by seed
    // with a progress picture after each.
    const float blankVertex[6] = {0, 0, 0, 0, 0, 0};
    const std::uint32_t blankIndex[1] = {0};
    for (std::size_t k = 1; k < crowd.size(); ++k) {
        for (int m = 0; m < 10; ++m) {
            view.replacePathWithID(crowd[k]->pathIDs[m], blankVertex, blankIndex, 1, 1, 0.0f);
        }
    }
    view.redraw();
    EXPECT_EQ(picture(), referencePicture());
    for (std::size_t k = 1; k < crowd.size(); ++k) {
        fillPaths(crowd[k], 10);
        view.redraw();
        EXPECT_EQ(picture(), referencePicture()) << k;
    }
    // Filled in slices too, and then turned: the whole picture is drawn again.
    for (int m = 0; m < 10; ++m) {
        view.replacePathWithID(crowd[5]->pathIDs[m], blankVertex, blankIndex, 1, 1, 0.0f);
    }
    view.redraw();
    fillPaths(crowd[5], 10);
    drawInSlices();
    EXPECT_EQ(picture(), referencePicture());
    view.scene->transform.rotate(20.0f, kinora::Vector3(0.0, 1.0, 0.0));
    view.redraw();
    EXPECT_EQ(picture(), referencePicture());
}

TEST_F(DrawingTest, ADraggedSeedIsCompositedInDepthWithTheStaticOnes) {
    const std::vector<Seed*> crowd = addCrowd(7);
    view.redraw();
    Seed* moving = crowd[3];
    QPointF at = onScreen(moving->transform.position);
    pressAt(view, at);
    ASSERT_EQ(view.selected, moving);
    // Two frames: the first builds the static layer, the second only restores it.
    for (const QPointF step : {QPointF(25, 12), QPointF(-40, 9)}) {
        at += step;
        moveTo(view, at);
        fillPaths(moving, 10);
        view.redraw();
        const std::vector<std::uint32_t> composited = picture();
        EXPECT_EQ(composited, referencePicture());
    }
    releaseAt(view, at);
}

TEST_F(DrawingTest, APictureDrawnInSlicesIsTheOnePassPicture) {
    const std::vector<Seed*> crowd = addCrowd(5);
    fillLongPath(crowd[2], 3 * kinora::ScenePass::elementsPerPart + 17);
    EXPECT_GT(drawInSlices(), 5 * 11 + 3);
    EXPECT_EQ(picture(), referencePicture());

    // The static layer of a drag is built in slices as well.
    Seed* moving = crowd[3];
    const QPointF at = onScreen(moving->transform.position);
    pressAt(view, at);
    ASSERT_EQ(view.selected, moving);
    moveTo(view, at + QPointF(20, -15));
    fillPaths(moving, 10);
    // Another seed's paths change, so the layer is built anew.
    fillPaths(crowd[0], 10);
    EXPECT_GT(drawInSlices(), 4 * 11 + 3);
    EXPECT_EQ(picture(), referencePicture());
    releaseAt(view, at + QPointF(20, -15));
}

TEST_F(DrawingTest, ALongPictureLetsInputThroughBetweenSlicesAndEndsAsTheLatestRequest) {
    fillLongPath(addCrowd(3)[1], 2 * kinora::ScenePass::elementsPerPart);
    view.setDrawingSlices(std::chrono::milliseconds(0), std::chrono::milliseconds(0));
    view.requestRedraw();
    bool answered = false;
    bool whileDrawing = false;
    QTimer::singleShot(0, [&] {
        answered = true;
        whileDrawing = view.isDrawing();
        // A change in the middle supersedes the picture begun.
        view.setZoom(0.7f);
        view.requestRedraw();
    });
    ASSERT_TRUE(eventually([&] { return answered; }));
    EXPECT_TRUE(whileDrawing);
    ASSERT_TRUE(eventually([&] { return !view.isDrawing(); }));
    EXPECT_EQ(picture(), referencePicture());
}

TEST_F(DrawingTest, EveryPixelRowOfASeedPicksIt) {
    Seed* seed = view.addSeed();
    seed->transform.position = kinora::Vector3(0.3, -0.2, 0.0);
    view.redraw();
    const std::vector<std::uint32_t> shown = picture();
    const int column = static_cast<int>(onScreen(seed->transform.position).x());
    std::vector<int> rows;
    for (int row = size - 1; row >= 0; --row) {
        if (shown[static_cast<std::size_t>(row * size + column)] == white) {
            rows.push_back(size - 1 - row);
        }
    }
    ASSERT_EQ(rows.size(), 10u);
    const auto clickRow = [&](int windowRow) {
        clickAt(view, QPointF(column + 0.5, size - windowRow));
        const bool picked = view.selected == seed;
        clickAt(view, {5, 5});
        settle();
        return picked;
    };
    for (int row : rows) {
        EXPECT_TRUE(clickRow(row)) << "window row " << row;
    }
    EXPECT_FALSE(clickRow(rows.front() - 1));
    EXPECT_FALSE(clickRow(rows.back() + 1));
}

TEST_F(DrawingTest, ASelectionShowsRightAfterTheClick) {
    Seed* seed = view.addSeed();
    view.redraw();
    EXPECT_EQ(count(picture(), white), 100);
    clickAt(view, onScreen(seed->transform.position));
    settle();
    EXPECT_EQ(count(picture(), white), 400);
    clickAt(view, {5, 5});
    settle();
    EXPECT_EQ(count(picture(), white), 100);
}

TEST_F(DrawingTest, LabelsShowOnScreenAndInTheExportedImage) {
    view.setSweepKey("rho 10", "rho 28");
    view.setZoom(0.4f);
    view.redraw();
    const QImage shown = pictureOf(*view.framebuffer);
    const QImage exported = view.renderImage(QSize(2 * size, 2 * size));
    ASSERT_EQ(exported.size(), QSize(2 * size, 2 * size));
    const QPointF name = onScreen(kinora::Vector3(10.8, 0.0, 0.0));
    EXPECT_GT(xAxisNamePixelsNear(shown, name.x(), size - name.y(), 1), 5);
    EXPECT_GT(xAxisNamePixelsNear(exported, 2 * name.x(), 2 * (size - name.y()), 2), 5);
}

// The rows and columns of the light text in the lower left quarter, where the key is.
QRect keyTextIn(const QImage& image) {
    QRect found;
    for (int y = image.height() * 3 / 4; y < image.height(); ++y) {
        for (int x = 0; x < image.width() / 2; ++x) {
            const QColor colour = image.pixelColor(x, y);
            if (colour.red() > 200 && colour.green() > 200 && colour.blue() > 200) {
                found |= QRect(x, y, 1, 1);
            }
        }
    }
    return found;
}

TEST_F(DrawingTest, TheKeyIsWholeAndAPictureAtFourTimesTheSizeIsTheViewFourTimesAsDense) {
    view.setSweepKey("rho 10, sigma 14, beta 2.667", "rho 28, sigma 20, beta 8");
    const QImage single = view.renderImage(QSize(size, size));
    const QImage quadruple = view.renderImage(QSize(4 * size, 4 * size));
    const QRect key = keyTextIn(single);
    const QRect largeKey = keyTextIn(quadruple);
    ASSERT_FALSE(key.isEmpty());
    // Nothing runs off the left edge.
    EXPECT_GT(key.left(), 4);
    EXPECT_NEAR(double(largeKey.height()) / key.height(), 4.0, 0.3);
    EXPECT_NEAR(double(largeKey.width()) / key.width(), 4.0, 0.3);
}

TEST_F(DrawingTest, TheSameLabelsGiveTheSamePixelsWhateverTextWasDrawnBefore) {
    view.setSweepKey("rho 10, sigma 3.333", "rho 28, sigma 10");
    view.setZoom(0.4f);
    const QImage first = view.renderImage(QSize(size, size));
    // Widgets draw their text meanwhile, in sizes of their own.
    QImage scratch(400, 100, QImage::Format_ARGB32_Premultiplied);
    for (int pixels : {9, 12, 13, 17, 26}) {
        QPainter painter(&scratch);
        QFont font;
        font.setPixelSize(pixels);
        painter.setFont(font);
        painter.drawText(10, 50, "-60 20 100 rho 10, sigma 3.333 0123456789");
    }
    TestPlotView other;
    showAndAwake(other, size, size);
    other.setSweepKey("rho 10, sigma 3.333", "rho 28, sigma 10");
    other.setZoom(0.4f);
    EXPECT_EQ(other.renderImage(QSize(size, size)), first);
}

TEST_F(DrawingTest, AHugeViewGetsImagesWithinTheLimitsAndStillPicks) {
    Seed* seed = view.addSeed();
    resizeAndWait(view, 32767, 32767);
    const double pixels = double(view.framebuffer->getWidth()) * view.framebuffer->getHeight();
    EXPECT_LE(pixels * 20, KNImageLimits::memoryBudget);
    EXPECT_LE(view.framebuffer->getWidth(), KNImageLimits::largestSide());
    EXPECT_NEAR(double(view.framebuffer->getWidth()) / view.framebuffer->getHeight(), 1.0, 1e-3);
    view.redraw();
    const QImage exported = view.renderImage(QSize(32767, 16384));
    EXPECT_LE(double(exported.width()) * exported.height() * 8, KNImageLimits::memoryBudget);
    EXPECT_NEAR(double(exported.width()) / exported.height(), 2.0, 1e-2);
    clickAt(view, QPointF(view.width() / 2.0, view.height() / 2.0));
    EXPECT_EQ(view.selected, seed);
}

// Runs in a second copy of this binary with the statistics switched on.
TEST_F(DrawingTest, FrameStatisticsDescribeADrag) {
    if (qgetenv("KINORA_FRAME_STATS") != "1") {
        GTEST_SKIP() << "runs with KINORA_FRAME_STATS=1 only";
    }
    Seed* seed = addCrowd(2)[0];
    view.redraw();
    // A late expose would otherwise open the record the drag's redraw joins: everything the
    // window system has sent by now is handled, and its redraw done.
    QGuiApplication::sync();
    ASSERT_TRUE(eventually([&] { return !view.isDrawing(); }));
    const QPointF at = onScreen(seed->transform.position);
    pressAt(view, at);
    moveTo(view, at + QPointF(10, 0));
    settle();
    releaseAt(view, at + QPointF(10, 0));
}

TEST(FrameStatisticsRun, PrintsOneLinePerRedrawingEventOnlyWhenAskedTo) {
    const auto run = [](bool statistics) {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("KINORA_FRAME_STATS");
        if (statistics) {
            environment.insert("KINORA_FRAME_STATS", "1");
        }
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(),
                    {"--gtest_filter=DrawingTest.FrameStatisticsDescribeADrag"});
        EXPECT_TRUE(child.waitForFinished(2 * patienceMilliseconds));
        EXPECT_EQ(child.exitCode(), 0);
        return QString::fromLocal8Bit(child.readAllStandardError());
    };
    const QRegularExpression line(
        "^frame event=drag seeds=2 compute_ms=\\d+\\.\\d\\d upload_ms=\\d+\\.\\d\\d "
        "draw_ms=\\d+\\.\\d\\d present_ms=\\d+\\.\\d\\d total_ms=\\d+\\.\\d\\d size=300x300$",
        QRegularExpression::MultilineOption);
    const QString withStatistics = run(true);
    EXPECT_EQ(withStatistics.count(line), 1) << withStatistics.toStdString();
    EXPECT_FALSE(run(false).contains("frame ")) << "no lines without the variable";
}

} // namespace
