#include "ControllerTest.h"
#include "KNCommandLineExport.h"
#include "KNDocumentActions.h"
#include "KNPlotWindow.h"
#include "KNStatusReporter.h"
#include "KNTrajectoryExporter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <csignal>
#include <sys/resource.h>

namespace {

// Exports in slices of no time at all, one piece of work each: every export of more than one
// piece is still running when its action returns, however fast the machine.
class ExportTest : public ControllerTest {
protected:
    std::shared_ptr<KNPlotWindowController> slicedLorenzWindow(int seeds) {
        auto controller = lorenzWindow();
        for (int k = 1; k < seeds; ++k) {
            controller->addSeed();
            controller->moveSelectedSeed({0.3 * k, 1.0, 2.0});
        }
        controller->changeParameterSweep(0, 10.0, 28.0);
        controller->changeIntegrationStep(0.001);
        controller->changeEvolutions(3);
        controller->exportRunner().setSlices(std::chrono::milliseconds(0),
                                             std::chrono::milliseconds(0));
        return controller;
    }

    KNDocumentActions actionsFor(const std::shared_ptr<KNPlotWindowController>& controller) {
        return {controller, alerts, KNRecentDocuments("kinora_app_tests", "true %u")};
    }

    static QByteArray contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(ExportTest, ALongTrajectoryExportAnswersInputAndWritesWhatTheWindowShowedAtItsStart) {
    auto controller = slicedLorenzWindow(4);
    const QString headless = folder.filePath("headless.csv");
    ASSERT_TRUE(
        KNTrajectoryExporter::write(controller->trajectorySnapshot(), headless.toStdString()));

    // Queued before the export: it runs while the export is still at work, and edits the
    // window as a user would.
    bool ranWhileExporting = false;
    bool showedProgress = false;
    QTimer::singleShot(0, [&] {
        ranWhileExporting = controller->exportRunner().isRunning();
        showedProgress = controller->statusReporter()->isShowingExportProgress();
        controller->changeEvolutions(5);
        Seed* seed = seedsOf(controller->plotView()).front();
        seed->transform.position = {-4.0, 2.0, 9.0};
        controller->plotViewSeedWasMoved(controller->plotView(), seed);
        controller->changeParameterSweep(1, 3.0, 30.0);
    });
    const QString sliced = folder.filePath("sliced.csv");
    auto actions = actionsFor(controller);
    ASSERT_TRUE(actions.exportTrajectories(sliced));
    EXPECT_TRUE(controller->exportRunner().isRunning());
    EXPECT_FALSE(QFile::exists(sliced));
    waitForExport(*controller);

    EXPECT_TRUE(ranWhileExporting);
    EXPECT_TRUE(showedProgress);
    EXPECT_FALSE(controller->statusReporter()->isShowingExportProgress());
    EXPECT_EQ(contents(sliced).size(), contents(headless).size());
    EXPECT_TRUE(contents(sliced) == contents(headless));
    EXPECT_EQ(controller->statusReporter()->currentMessage(),
              "Exported the trajectories to \"sliced.csv\".");
    EXPECT_TRUE(alerts->messages.empty());
}

TEST_F(ExportTest, EscapeOrClosingTheWindowCancelsAnExportAndKeepsTheEarlierFile) {
    auto controller = slicedLorenzWindow(2);
    auto actions = actionsFor(controller);
    const QString path = writeFile(folder, "kept.csv", "the earlier export");

    ASSERT_TRUE(actions.exportTrajectories(path));
    // One export at a time: a second is refused with the reason.
    EXPECT_FALSE(actions.exportImage(folder.filePath("other.png"), 1));
    EXPECT_TRUE(controller->statusReporter()->currentMessage().contains("still running"));
    QTest::keyClick(controller->window(), Qt::Key_Escape);
    EXPECT_FALSE(controller->exportRunner().isRunning());
    EXPECT_EQ(controller->statusReporter()->currentMessage(),
              "Cancelled the export to \"kept.csv\"; any earlier file is unchanged.");

    ASSERT_TRUE(actions.exportTrajectories(path));
    controller->window()->close();
    EXPECT_FALSE(controller->exportRunner().isRunning());
    ASSERT_TRUE(settle(*controller));

    EXPECT_EQ(contents(path), "the earlier export");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"kept.csv"});
    EXPECT_TRUE(alerts->messages.empty());
}

TEST_F(ExportTest, AnExportThatFailsPartWayGivesOneAlertAndKeepsTheEarlierFile) {
    auto controller = slicedLorenzWindow(2);
    auto actions = actionsFor(controller);
    const QString path = writeFile(folder, "kept.csv", "the earlier export");

    // Files may not grow past 64 kB for a while: the export stops part way, as on a full disk.
    rlimit original{};
    getrlimit(RLIMIT_FSIZE, &original);
    const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = original;
    limit.rlim_cur = 64 * 1024;
    setrlimit(RLIMIT_FSIZE, &limit);
    const bool started = actions.exportTrajectories(path);
    waitForExport(*controller);
    setrlimit(RLIMIT_FSIZE, &original);
    signal(SIGXFSZ, previousHandler);

    EXPECT_TRUE(started);
    ASSERT_TRUE(eventually([&] { return !alerts->messages.empty(); }));
    ASSERT_EQ(alerts->messages.size(), 1u);
    EXPECT_NE(alerts->messages[0].find("Any earlier file is unchanged"), std::string::npos)
        << alerts->messages[0];
    EXPECT_EQ(alerts->documentNames[0], "kept.csv");
    EXPECT_EQ(contents(path), "the earlier export");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"kept.csv"});
}

TEST_F(ExportTest, AnImageDrawnInSlicesIsTheOneDrawnAtOnceUnlessThePictureChanges) {
    auto controller = slicedLorenzWindow(3);
    controller->changeIntegrationStep(0.01);
    controller->window()->resize(700, 500);
    controller->showWindow();
    ASSERT_TRUE(settle(*controller));
    KNPlotView* view = controller->plotView();
    const QSize size(2 * view->width(), 2 * view->height());
    const QImage expected = view->renderImage(size);
    auto actions = actionsFor(controller);

    // Resized between the slices, the window draws its own picture with a camera of another
    // shape; the export keeps the one it began with.
    const QString path = folder.filePath("sliced.png");
    ASSERT_TRUE(actions.exportImage(path, 2));
    EXPECT_TRUE(controller->exportRunner().isRunning());
    QTimer::singleShot(0, view, [&] {
        controller->window()->resize(500, 700);
        view->redraw();
    });
    waitForExport(*controller);
    EXPECT_EQ(QImage(path).convertToFormat(expected.format()), expected);
    EXPECT_EQ(controller->statusReporter()->currentMessage(),
              "Exported the image to \"sliced.png\".");

    // A turn of the scene during the export stops it: the picture is no longer the one asked
    // for.
    const QByteArray written = contents(path);
    ASSERT_TRUE(actions.exportImage(path, 2));
    view->setZoom(2.0f);
    view->requestRedraw();
    waitForExport(*controller);
    EXPECT_TRUE(controller->statusReporter()->currentMessage().startsWith(
        "Stopped the export to \"sliced.png\": the picture changed"));
    EXPECT_TRUE(contents(path) == written);
    EXPECT_TRUE(alerts->messages.empty());
}

// The command line's pictures of every kind are drawn without a window, widget or view: none
// receives a single event while an export runs (making one sends it its native surface).
TEST_F(ExportTest, CommandLinePicturesOfEveryViewCreateNoWindowWidgetOrView) {
    struct WindowEvents : QObject {
        bool eventFilter(QObject* target, QEvent*) override {
            seen = seen || target->isWindowType() || target->isWidgetType();
            return false;
        }
        bool seen = false;
    } windowEvents;
    const std::vector<std::vector<std::string>> exports = {
        {"--export-image", "plot.png"},
        {"--export-image", "series.png", "--view", "time-series"},
        {"--export-image", "section.png", "--view", "section", "--section", "z=20"},
        {"--export-image", "orbit.png", "--view", "orbit-diagram", "--values", "100"},
        {"--export-frames", "frames", "--frames", "2"}};
    for (std::vector<std::string> arguments : exports) {
        arguments[1] = folder.filePath(QString::fromStdString(arguments[1])).toStdString();
        arguments.push_back(KINORA_SOURCE_DIR "/examples/lorenz.js");
        std::string problem;
        const std::optional<KNCommandLineExport> request =
            KNCommandLineExport::parse(arguments, &problem);
        ASSERT_TRUE(request) << problem;
        const auto windows = QGuiApplication::allWindows().size();
        const auto widgets = QApplication::allWidgets().size();
        windowEvents.seen = false;
        qApp->installEventFilter(&windowEvents);
        EXPECT_EQ(request->run(), 0) << arguments[1];
        qApp->removeEventFilter(&windowEvents);
        EXPECT_FALSE(windowEvents.seen) << arguments[1];
        EXPECT_EQ(QGuiApplication::allWindows().size(), windows);
        EXPECT_EQ(QApplication::allWidgets().size(), widgets);
    }
    for (const char* picture :
         {"plot.png", "series.png", "section.png", "orbit.png", "frames/frame-0001.png"}) {
        EXPECT_FALSE(QImage(folder.filePath(picture)).isNull()) << picture;
    }
}

} // namespace
