#include "Framebuffer.h"
#include "Matrix4.h"
#include "Seed.h"
#include "Texture2D.h"
#include "ViewTestSupport.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <epoxy/gl.h>
#include <gtest/gtest.h>

namespace {

// These run in a second copy of this binary started with a forced device pixel ratio of 2.
class HighDensity : public testing::Test {
protected:
    void SetUp() override {
        showAndAwake(view, 300, 200);
        if (view.devicePixelRatio() != 2.0) {
            GTEST_SKIP() << "runs at a device pixel ratio of 2 only";
        }
    }

    TestPlotView view;
};

TEST_F(HighDensity, ImagesAndViewportAreInDevicePixels) {
    EXPECT_EQ(view.width(), 300);
    EXPECT_EQ(view.framebuffer->getWidth(), 600);
    EXPECT_EQ(view.framebuffer->getHeight(), 400);
    EXPECT_EQ(view.displayTexture->width, 600);
    EXPECT_EQ(view.scene->camera.right, static_cast<float>(1.5));
    view.redraw();
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 600);
    EXPECT_EQ(viewport[3], 400);
}

TEST_F(HighDensity, PicksAndDragsWhereTheSeedIsShown) {
    Seed* seed = view.addSeed();
    seed->transform.position = kinora::Vector3(2.0, 1.0, 0.0);
    view.redraw();
    const QPointF where = projectToView(*view.scene, seed->transform.position, 300, 200);
    dragFromTo(view, where, where + QPointF(20, 10));
    ASSERT_EQ(view.selected, seed);
    // Movement is measured in points: 10 / 200 units per point.
    EXPECT_NEAR(seed->transform.position.x, 2.0 + 20 * 10.0 / 200, 1e-5);
    EXPECT_NEAR(seed->transform.position.y, 1.0 + 10 * 10.0 / 200, 1e-5);
}

TEST_F(HighDensity, TurnsOneDegreePerPoint) {
    dragFromTo(view, {10, 10}, {100, 10});
    const kinora::Matrix4 expected = kinora::Matrix4().rotate(90.0f, kinora::Vector3(0, 1, 0));
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(view.scene->transform.rotation.m[i], expected.m[i]);
    }
}

TEST_F(HighDensity, LabelsAreDrawnAtTheFullDensity) {
    view.setZoom(0.4f);
    view.redraw();
    const QPointF name = projectToView(*view.scene, kinora::Vector3(10.8, 0.0, 0.0), 300, 200);
    EXPECT_GT(
        xAxisNamePixelsNear(pictureOf(*view.framebuffer), 2 * name.x(), 2 * (200 - name.y()), 2),
        20);
}

TEST(HighDensityRun, PassesAtADevicePixelRatioOfTwo) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_SCALE_FACTOR", "2");
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=HighDensity.*"});
    ASSERT_TRUE(child.waitForFinished(120000));
    const QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 4 tests")) << output.toStdString();
    EXPECT_FALSE(output.contains("SKIPPED")) << output.toStdString();
}

} // namespace
