#include "Eventually.h"
#include "Framebuffer.h"
#include "KNLabelRenderer.h"
#include "KNSharedContext.h"
#include "Matrix4.h"
#include "Mesh.h"
#include "Scene.h"
#include "Shader.h"
#include "Texture2D.h"
#include "ViewTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <epoxy/gl.h>
#include <gtest/gtest.h>

namespace {

using TestBaseView = InspectableView<KNOpenGLView>;

int occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

void expectSameMatrix(const kinora::Matrix4& expected, const kinora::Matrix4& actual) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(expected.m[i], actual.m[i]) << "entry " << i;
    }
}

// What awakeFromNib writes on standard output.
std::string awakeCapturingStdout(KNOpenGLView& view) {
    testing::internal::CaptureStdout();
    view.awakeFromNib();
    return testing::internal::GetCapturedStdout();
}

// A copy of the shipped shader files in which one file is replaced or left out.
class ShaderDirectory {
public:
    ShaderDirectory() {
        const QDir shipped(
            QFileInfo(QString::fromStdString(KNOpenGLView::resourcePath("shaders/basic", "vsh")))
                .absolutePath());
        for (const QString& name : shipped.entryList(QDir::Files)) {
            QFile::copy(shipped.filePath(name), directory.filePath(name));
        }
        qputenv("KINORA_SHADER_DIR", directory.path().toLocal8Bit());
    }
    ~ShaderDirectory() { qunsetenv("KINORA_SHADER_DIR"); }

    void write(const QString& name, const QByteArray& text) {
        QFile file(directory.filePath(name));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(text);
    }
    void remove(const QString& name) { QFile::remove(directory.filePath(name)); }
    std::string path(const QString& name) const { return directory.filePath(name).toStdString(); }

private:
    QTemporaryDir directory;
};

TEST(OpenGLViewSetUp, HoldsTheAxesOnlyAndLogsTheContextOnce) {
    TestBaseView view;
    ASSERT_TRUE(showAndWaitForExposure(view, 300, 200));

    testing::internal::CaptureStderr();
    view.awakeFromNib();
    const std::string log = testing::internal::GetCapturedStderr();

    const std::string version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    EXPECT_EQ(occurrences(log, "Using Context: "), 1) << log;
    EXPECT_NE(log.find("Using Context: " + version + "\n"), std::string::npos) << log;

    ASSERT_EQ(view.scene->renderables.size(), 1u);
    EXPECT_EQ(view.scene->getRenderable(0), view.axes.get());

    for (const kinora::Shader* program :
         {view.pathShader.get(), view.pickShader.get(), view.displayShader.get(),
          view.flatColorShader.get(), view.colorRampShader.get()}) {
        EXPECT_TRUE(program->linked);
    }
    // Off-screen images of 480 x 480 until the first resize.
    EXPECT_EQ(view.displayTexture->width, 480);
    EXPECT_EQ(view.pickTexture->height, 480);
    EXPECT_EQ(view.framebuffer->getWidth(), 480);
    EXPECT_EQ(view.scene->framebuffer, view.framebuffer.get());
}

// The colour of a view's window a little inside its top left corner, away from the axes.
QColor cornerColour(KNOpenGLView& view) {
    return view.screen()->grabWindow(view.winId(), 4, 4, 1, 1).toImage().pixelColor(0, 0);
}

TEST(OpenGLViewPresent, EachWindowShowsItsLatestPictureThroughAContextOfItsOwn) {
    TestBaseView first;
    TestBaseView second;
    first.setPosition(0, 0);
    second.setPosition(300, 0);
    showAndAwake(first, 200, 200);
    showAndAwake(second, 200, 200);
    // Nothing is drawn after the last redraw: a window that got an earlier picture keeps it.
    const QColor colours[] = {Qt::blue, Qt::yellow, Qt::magenta, Qt::cyan};
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE(round);
        for (TestBaseView* view : {&first, &second}) {
            const QColor colour = colours[(round + (view == &second ? 1 : 0)) % 4];
            view->framebuffer->clearColor =
                kinora::Vector4(colour.redF(), colour.greenF(), colour.blueF(), 1.0);
            view->redraw();
            // What follows a present (buffers filled, vertex arrays made) lands in the shared
            // context.
            EXPECT_TRUE(drawingContextIsCurrent());
        }
        for (TestBaseView* view : {&first, &second}) {
            const QColor colour = colours[(round + (view == &second ? 1 : 0)) % 4];
            EXPECT_TRUE(eventually([&] { return cornerColour(*view) == colour; }));
        }
    }
    EXPECT_TRUE(areDistinctSharingContexts(first.windowContext, second.windowContext));
}

TEST(OpenGLViewSetUp, EveryViewUsesTheOneSharedContext) {
    TestBaseView first;
    TestBaseView second;
    showAndAwake(first, 100, 100);
    showAndAwake(second, 100, 100);
    EXPECT_EQ(KNOpenGLView::sharedContext(), KNOpenGLView::sharedContext());
    // One vertex-array namespace: a name made while one view is attached is valid in the other.
    first.redraw();
    EXPECT_TRUE(glIsVertexArray(second.axes->vertexArray));
    second.redraw();
    EXPECT_TRUE(glIsVertexArray(first.axes->vertexArray));
    EXPECT_TRUE(glIsProgram(first.pathShader->program));
}

TEST(OpenGLViewResize, RebuildsTheImagesAtTheViewSizeAndSetsTheFrustum) {
    TestBaseView view;
    showAndAwake(view, 300, 300);
    resizeAndWait(view, 800, 600);

    EXPECT_EQ(view.displayTexture->width, 800);
    EXPECT_EQ(view.displayTexture->height, 600);
    EXPECT_EQ(view.pickTexture->width, 800);
    EXPECT_EQ(view.pickTexture->height, 600);
    EXPECT_EQ(view.framebuffer->getWidth(), 800);
    EXPECT_EQ(view.framebuffer->getHeight(), 600);
    EXPECT_EQ(view.scene->framebuffer, view.framebuffer.get());
    const float a = static_cast<float>(4.0 / 3.0);
    const kinora::Camera& camera = view.scene->camera;
    EXPECT_EQ(camera.left, -a);
    EXPECT_EQ(camera.right, a);
    EXPECT_EQ(camera.bottom, -1.0f);
    EXPECT_EQ(camera.top, 1.0f);
    EXPECT_EQ(camera.near, 2.0f);
    EXPECT_EQ(camera.far, 60.0f);
    GLint width = 0;
    view.displayTexture->bind();
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    view.displayTexture->unbind();
    EXPECT_EQ(width, 800);
}

TEST(OpenGLViewResize, AViewWithNoHeightCountsAsOnePixelHigh) {
    TestBaseView view;
    showAndAwake(view, 300, 300);
    resizeAndWait(view, 300, 0);
    ASSERT_LE(view.height(), 1);
    view.update();
    EXPECT_EQ(view.framebuffer->getHeight(), 1);
    EXPECT_EQ(view.displayTexture->height, 1);
    EXPECT_EQ(view.scene->camera.right, 300.0f);
    EXPECT_TRUE(std::isfinite(view.scene->camera.left));
}

TEST(OpenGLViewResize, KeepsTheCameraTheSceneTransformAndTheRenderables) {
    TestBaseView view;
    showAndAwake(view, 300, 300);
    dragFromTo(view, {150, 150}, {180, 150});
    const kinora::Matrix4 turned = view.scene->transform.rotation;
    resizeAndWait(view, 400, 200);
    EXPECT_EQ(view.framebuffer->getWidth(), 400);
    expectSameMatrix(turned, view.scene->transform.rotation);
    EXPECT_EQ(view.scene->renderables.size(), 1u);
    EXPECT_EQ(view.scene->camera.transform.position.z, 10.0);
}

TEST(OpenGLViewTrackball, DraggingEmptySpaceTurnsTheSceneOneDegreePerPoint) {
    TestPlotView view;
    showAndAwake(view, 400, 400);

    dragFromTo(view, {100, 200}, {190, 200});
    expectSameMatrix(kinora::Matrix4().rotate(90.0f, kinora::Vector3(0.0, 1.0, 0.0)),
                     view.scene->transform.rotation);
    // The x axis now points towards the viewer (out of the screen).
    const kinora::Vector3 x = view.scene->transform.modelMatrix() * kinora::xAxis;
    EXPECT_NEAR(x.z, -1.0, 1e-6);

    view.scene->transform.resetRotation();
    dragFromTo(view, {200, 100}, {200, 145});
    expectSameMatrix(kinora::Matrix4().rotate(45.0f, kinora::Vector3(-1.0, 0.0, 0.0)),
                     view.scene->transform.rotation);

    view.scene->transform.resetRotation();
    dragFromTo(view, {200, 200}, {203, 204});
    expectSameMatrix(kinora::Matrix4().rotate(5.0f, kinora::Vector3(-0.8, 0.6, 0.0)),
                     view.scene->transform.rotation);
}

TEST(OpenGLViewTrackball, TurnsAreComposedOnTheWorldSide) {
    TestPlotView view;
    showAndAwake(view, 400, 400);
    pressAt(view, {100, 100});
    moveTo(view, {130, 100});
    moveTo(view, {130, 120});
    releaseAt(view, {130, 120});
    kinora::Matrix4 expected;
    expected.rotate(30.0f, kinora::Vector3(0.0, 1.0, 0.0));
    expected.rotate(20.0f, kinora::Vector3(-1.0, 0.0, 0.0));
    expectSameMatrix(expected, view.scene->transform.rotation);
}

TEST(OpenGLViewTrackball, IgnoresOtherButtonsAndMovesWithoutAPress) {
    TestPlotView view;
    showAndAwake(view, 400, 400);
    moveTo(view, {10, 10});
    moveTo(view, {300, 300});
    QTest::mousePress(&view, Qt::RightButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseMove(&view, QPoint(200, 150));
    QTest::mouseRelease(&view, Qt::RightButton, Qt::NoModifier, QPoint(200, 150));
    expectSameMatrix(kinora::Matrix4(), view.scene->transform.rotation);

    // A press and release without movement does not turn the scene either.
    clickAt(view, {50, 50});
    expectSameMatrix(kinora::Matrix4(), view.scene->transform.rotation);
}

TEST(OpenGLViewWheel, ScalesTheSceneByTenPercentPerNotch) {
    TestPlotView view;
    showAndAwake(view, 300, 300);
    // 180/120 of a notch: a scroll delta of 15.
    wheel(view, 180);
    const double expected = static_cast<double>(static_cast<float>(15 * 0.01 + 1.0));
    EXPECT_EQ(view.scene->transform.scale.x, expected);
    EXPECT_EQ(view.scene->transform.scale.y, expected);
    EXPECT_EQ(view.scene->transform.scale.z, expected);

    view.scene->transform.scale = kinora::Vector3(1.0, 1.0, 1.0);
    wheel(view, -120);
    EXPECT_DOUBLE_EQ(view.scene->transform.scale.x, static_cast<double>(0.9f));

    // A touchpad's pixels: ten make one unit.
    view.scene->transform.scale = kinora::Vector3(1.0, 1.0, 1.0);
    wheel(view, 0, 100);
    EXPECT_DOUBLE_EQ(view.scene->transform.scale.x, static_cast<double>(1.1f));
}

TEST(OpenGLViewWheel, NeverScalesToZeroNegativeOrWithoutBound) {
    TestPlotView view;
    showAndAwake(view, 300, 300);
    // A delta of -100 or less would give a factor of 0 or below; one event halves at most.
    wheel(view, -4000);
    EXPECT_EQ(view.scene->transform.scale.x, 0.5);
    wheel(view, -40000);
    EXPECT_EQ(view.scene->transform.scale.x, 0.25);
    for (int i = 0; i < 20; ++i) {
        wheel(view, -40000);
    }
    EXPECT_EQ(view.scene->transform.scale.x, KNOpenGLView::minimumSceneScale);
    EXPECT_GT(view.scene->transform.scale.z, 0.0);
    for (int i = 0; i < 40; ++i) {
        wheel(view, 40000);
    }
    EXPECT_EQ(view.scene->transform.scale.y, KNOpenGLView::maximumSceneScale);

    view.setZoom(0.0f);
    EXPECT_EQ(view.scene->transform.scale.x, KNOpenGLView::minimumSceneScale);
    view.setZoom(2.0f);
    EXPECT_EQ(view.scene->transform.scale.z, 2.0);
}

TEST(OpenGLViewShaders, AFileThatFailsToCompileIsReportedOnceAndStopsTheLoading) {
    ShaderDirectory shaders;
    shaders.write("path.fsh", "#version 150\nthis is not glsl;\n");
    TestBaseView view;
    ASSERT_TRUE(showAndWaitForExposure(view, 200, 200));
    const std::string output = awakeCapturingStdout(view);

    const std::string expected = "Shader Compile Failed: " + shaders.path("path.fsh") + "\n    ";
    EXPECT_EQ(output.rfind(expected, 0), 0u) << output;
    EXPECT_EQ(occurrences(output, "Shader Compile Failed: "), 1);
    EXPECT_EQ(output.back(), '\n');
    for (const kinora::Shader* program :
         {view.pathShader.get(), view.pickShader.get(), view.displayShader.get(),
          view.flatColorShader.get(), view.colorRampShader.get()}) {
        EXPECT_FALSE(program->linked);
    }
    // The view is built all the same and draws.
    ASSERT_TRUE(view.scene);
    view.update();
    view.redraw();
    EXPECT_EQ(view.scene->renderables.size(), 1u);
}

TEST(OpenGLViewShaders, AMissingFileReadsLikeAnUnreadableOne) {
    ShaderDirectory shaders;
    shaders.remove("white_pick.fsh");
    TestBaseView view;
    ASSERT_TRUE(showAndWaitForExposure(view, 200, 200));
    const std::string output = awakeCapturingStdout(view);

    EXPECT_EQ(output.rfind("Shader Compile Failed: " + shaders.path("white_pick.fsh"), 0), 0u)
        << output;
    EXPECT_TRUE(view.pathShader->linked);
    EXPECT_FALSE(view.pickShader->linked);
    EXPECT_FALSE(view.colorRampShader->linked);
}

TEST(OpenGLViewShaders, AreFoundBesideTheExecutableUnlessOverridden) {
    const std::string vertex = KNOpenGLView::resourcePath("shaders/basic", "vsh");
    EXPECT_TRUE(QFile::exists(QString::fromStdString(vertex))) << vertex;
    EXPECT_NE(vertex.find("share/kinora/shaders/basic.vsh"), std::string::npos) << vertex;
    EXPECT_TRUE(QFile::exists(
        QString::fromStdString(KNOpenGLView::resourcePath("shaders/display", "fsh"))));

    qputenv("KINORA_SHADER_DIR", "/nonexistent/place");
    EXPECT_EQ(KNOpenGLView::resourcePath("shaders/path", "fsh"), "/nonexistent/place/path.fsh");
    qunsetenv("KINORA_SHADER_DIR");

    // Not found: a path that fails to open, never one relative to the working directory.
    const std::string missing = KNOpenGLView::resourcePath("shaders/no_such_program", "fsh");
    EXPECT_EQ(missing.front(), '/');
    EXPECT_FALSE(QFile::exists(QString::fromStdString(missing)));
}

// The red x axis crosses the middle row of a fresh view's window. The X server may show the
// picture later on a loaded machine, so look until it does.
bool showsTheRedAxis(KNOpenGLView& view) {
    return eventually([&] {
        const QImage shot = view.screen()->grabWindow(view.winId()).toImage();
        for (int x = 0; x < shot.width(); ++x) {
            const QColor colour = shot.pixelColor(x, shot.height() / 2);
            if (colour.red() > 128 && colour.green() < 64 && colour.blue() < 64) {
                return true;
            }
        }
        return false;
    });
}

TEST(OpenGLViewExpose, AWindowShownAgainIsDrawnAgain) {
    TestBaseView view;
    showAndAwake(view, 200, 200);
    view.hide();
    settle();
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view, patienceMilliseconds));
    // Nothing but a redraw can have put the axis there.
    EXPECT_TRUE(showsTheRedAxis(view));
}

TEST(OpenGLViewExpose, ANativeWindowMadeAgainIsDrawnOn) {
    TestBaseView view;
    showAndAwake(view, 200, 200);
    // The context was current on the old native window; attaching must not take it for the new.
    view.destroy();
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view, patienceMilliseconds));
    EXPECT_TRUE(showsTheRedAxis(view));
}

TEST(OpenGLViewTeardown, DeletesItsGLNamesEvenAfterItsWindowIsGone) {
    unsigned program = 0;
    unsigned vertexArray = 0;
    unsigned texture = 0;
    {
        TestBaseView view;
        showAndAwake(view, 100, 100);
        program = view.pathShader->program;
        vertexArray = view.axes->vertexArray;
        texture = view.pickTexture->id;
        // The native window goes first, and with it the surface the context was current on.
        view.destroy();
        releaseCurrentContext();
    }
    KNSharedContext::makeCurrentOffscreen();
    EXPECT_FALSE(glIsProgram(program));
    EXPECT_FALSE(glIsVertexArray(vertexArray));
    EXPECT_FALSE(glIsTexture(texture));
}

} // namespace

TEST(LabelText, ALongTextShowsABoundedPrefixWholeCharactersOnly) {
    const QString shortName = QStringLiteral("rho");
    EXPECT_EQ(KNLabelRenderer::shownText(shortName), shortName);
    for (const QString& character : {QStringLiteral("a"), QString::fromUtf8("\xF0\x9D\x9B\xBC")}) {
        const QString name = character.repeated(5000);
        const QString shown = KNLabelRenderer::shownText(name);
        EXPECT_LE(shown.size(), KNLabelRenderer::maxShownCharacters);
        EXPECT_GE(shown.size(), KNLabelRenderer::maxShownCharacters - 2);
        EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
        EXPECT_TRUE(name.startsWith(shown.chopped(1)));
        EXPECT_FALSE(shown.chopped(1).back().isHighSurrogate());
    }
}
