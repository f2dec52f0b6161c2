#include "AppTestSupport.h"
#include "Eventually.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Runs the built program as a user would start it.
class EndToEndTest : public ::testing::Test {
protected:
    QTemporaryDir home;
    QProcess kinora;

    void start(const QStringList& arguments, bool withDisplay = true) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", home.filePath("data"));
        environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
        if (!withDisplay) {
            environment.remove("DISPLAY");
            environment.remove("WAYLAND_DISPLAY");
        }
        kinora.setProcessEnvironment(environment);
        kinora.start(KINORA_EXECUTABLE, arguments);
        ASSERT_TRUE(kinora.waitForStarted(patienceMilliseconds));
    }

    void TearDown() override {
        if (kinora.state() != QProcess::NotRunning) {
            kinora.terminate();
            if (!kinora.waitForFinished(patienceMilliseconds)) {
                kinora.kill();
                kinora.waitForFinished(patienceMilliseconds);
            }
        }
    }
};

TEST_F(EndToEndTest, AnExampleScriptOpensAndItsTrajectoriesAreDrawn) {
    QApplication::closeAllWindows();
    EXPECT_TRUE(plotWindowsGone());
    start({KINORA_SOURCE_DIR "/examples/lorenz.js"});

    // Two windows, the Lorenz one and the script's, each with three views (plot, time series,
    // parameter space) that report their context; then the screen shows the paths in their colours.
    QByteArray output;
    int pathPixels = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 60000 && kinora.state() == QProcess::Running) {
        QTest::qWait(250);
        output += kinora.readAllStandardOutput() + kinora.readAllStandardError();
        const QImage screen =
            QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
                QImage::Format_RGB32);
        pathPixels = countPathPixels(screen);
        if (output.count("Using Context: ") == 6 && pathPixels > 100) {
            break;
        }
    }
    EXPECT_EQ(kinora.state(), QProcess::Running) << output.toStdString();
    EXPECT_EQ(output.count("Using Context: "), 6) << output.toStdString();
    EXPECT_GT(pathPixels, 100);
    // The file handed over is on the desktop's recent list, as any file the user opens is.
    QFile recent(home.filePath("data/recently-used.xbel"));
    ASSERT_TRUE(recent.open(QIODevice::ReadOnly));
    EXPECT_TRUE(recent.readAll().contains("/examples/lorenz.js"));
}

TEST_F(EndToEndTest, InformationRequestsAnswerWithoutADisplay) {
    start({"--version"}, false);
    ASSERT_TRUE(kinora.waitForFinished(patienceMilliseconds));
    EXPECT_EQ(kinora.exitCode(), 0);
    EXPECT_EQ(kinora.readAllStandardOutput().toStdString(), "kinora 0.1.0\n");

    start({"--help"}, false);
    ASSERT_TRUE(kinora.waitForFinished(patienceMilliseconds));
    EXPECT_EQ(kinora.exitCode(), 0);
    EXPECT_TRUE(kinora.readAllStandardOutput().startsWith("Usage: kinora [option] [FILE ...]\n"));
}

TEST_F(EndToEndTest, AnUnknownOptionIsRefusedBeforeAnyWindowOpens) {
    start({"--sweep=fast", KINORA_SOURCE_DIR "/examples/lorenz.js"});
    ASSERT_TRUE(kinora.waitForFinished(patienceMilliseconds));
    EXPECT_EQ(kinora.exitCode(), 2);
    const QByteArray errors = kinora.readAllStandardError();
    EXPECT_TRUE(errors.contains("kinora: unknown option '--sweep=fast'.\n"))
        << errors.toStdString();
    EXPECT_FALSE(errors.contains("Using Context"));
}

} // namespace
