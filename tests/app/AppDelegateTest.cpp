#include "AppTestSupport.h"
#include "Eventually.h"
#include "KNPlotView.h"
#include "KNPlotWindow.h"
#include "KNPlotWindowController.h"
#include "KNRecentDocuments.h"
#include "KNSessionReader.h"
#include "KNStatusReporter.h"
#include "KNWindowCascade.h"
#include "LXAppDelegate.h"
#include "RecordingAlertPresenter.h"
#include "Seed.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <glib.h>
#include <gtest/gtest.h>
#include <memory>

namespace {

const char* const pairScript = R"(
var parameters = ["a", "b"];
function evolution(p, x, y, z) { return [p[0] - x, p[1] - y, -z]; }
)";

class AppDelegateTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    std::string savedDataHome = std::getenv("XDG_DATA_HOME");
    std::shared_ptr<RecordingAlertPresenter> alerts = std::make_shared<RecordingAlertPresenter>();
    std::unique_ptr<LXAppDelegate> delegate;

    void SetUp() override {
        setenv("XDG_DATA_HOME", qPrintable(folder.filePath("data")), 1);
        delegate =
            std::make_unique<LXAppDelegate>(alerts, KNRecentDocuments("kinora", "kinora %u"));
    }

    void TearDown() override {
        QApplication::closeAllWindows();
        delegate.reset();
        EXPECT_TRUE(plotWindowsGone());
        setenv("XDG_DATA_HOME", savedDataHome.c_str(), 1);
    }

    QString script(const QString& name, const std::string& text = pairScript) {
        return writeFile(folder, name, text);
    }

    static int visiblePlotWindows() {
        int count = 0;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            count += qobject_cast<KNPlotWindow*>(widget) && widget->isVisible() ? 1 : 0;
        }
        return count;
    }

    static std::vector<std::string> recentFiles() {
        std::vector<std::string> files;
        GBookmarkFile* list = g_bookmark_file_new();
        if (g_bookmark_file_load_from_file(list, KNRecentDocuments::listPath().c_str(), nullptr)) {
            gsize count = 0;
            gchar** uris = g_bookmark_file_get_uris(list, &count);
            for (gsize i = 0; i < count; ++i) {
                gchar* path = g_filename_from_uri(uris[i], nullptr, nullptr);
                files.emplace_back(path);
                g_free(path);
            }
            g_strfreev(uris);
        }
        g_bookmark_file_free(list);
        std::sort(files.begin(), files.end());
        return files;
    }

    const KNPlotWindowController& controller(std::size_t i) const {
        return *delegate->windowControllers().at(i);
    }
};

TEST_F(AppDelegateTest, APlainStartShowsTheLorenzWindow) {
    delegate->applicationDidFinishLaunching();
    ASSERT_EQ(delegate->windowControllers().size(), 1u);
    EXPECT_EQ(visiblePlotWindows(), 1);
    auto& lorenz = *delegate->windowControllers()[0];
    EXPECT_EQ(lorenz.window()->windowTitle(), "Kinora");
    EXPECT_FALSE(lorenz.hasScriptEngine());
    ASSERT_EQ(lorenz.window()->ui().xPopupButton->count(), 4);
    EXPECT_EQ(lorenz.window()->ui().xPopupButton->itemText(1), "rho");
    EXPECT_EQ(lorenz.window()->ui().xPopupButton->itemText(2), "sigma");
    EXPECT_EQ(lorenz.window()->ui().xPopupButton->itemText(3), "beta");
    EXPECT_TRUE(QApplication::quitOnLastWindowClosed());
    EXPECT_TRUE(alerts->messages.empty());
}

TEST_F(AppDelegateTest, FilesOpenInOrderAndAFailureDoesNotStopTheRest) {
    delegate->applicationDidFinishLaunching();
    const QString broken = script("broken.js", "var parameters = [;");
    const QString first = script("first.js");
    const QString second = script("second.js");
    delegate->applicationOpenFiles({broken, first, folder.filePath("missing.js"), second});

    ASSERT_EQ(alerts->messages.size(), 2u);
    EXPECT_EQ(alerts->messages[1], "Cannot open \"" + folder.filePath("missing.js").toStdString() +
                                       "\": there is no such file.");
    ASSERT_EQ(delegate->windowControllers().size(), 3u);
    EXPECT_EQ(controller(1).title(), "first.js");
    EXPECT_EQ(controller(2).title(), "second.js");
    EXPECT_EQ(visiblePlotWindows(), 3);
    // As the desktop expects, the files handed over are on the recent list once they open.
    EXPECT_EQ(recentFiles(), (std::vector<std::string>{first.toStdString(), second.toStdString()}));
}

// The desktop and the recent files hand over URIs, percent-encoded and possibly naming a host.
TEST_F(AppDelegateTest, FileUrisOpenLikeTheirPathsAndOtherPlacesAreRefused) {
    const QString path = script("with space.js");
    const QString uri = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
    ASSERT_TRUE(uri.startsWith("file:///") && uri.endsWith("/with%20space.js"));
    delegate->applicationOpenFiles(
        {uri, "FILE://localhost" + path, "https://example.org/a.js", "file://elsewhere" + path});
    ASSERT_EQ(delegate->windowControllers().size(), 2u);
    EXPECT_EQ(controller(0).title(), "with space.js");
    EXPECT_EQ(controller(1).title(), "with space.js");
    EXPECT_EQ(alerts->messages,
              (std::vector<std::string>{
                  "Cannot open \"https://example.org/a.js\": only local files can be opened.",
                  "Cannot open \"file://elsewhere" + path.toStdString() +
                      "\": only local files can be opened."}));
}

TEST_F(AppDelegateTest, WindowsOpenedTogetherCascade) {
    delegate->applicationDidFinishLaunching();
    delegate->applicationOpenFiles({script("a.js"), script("b.js")});
    ASSERT_EQ(delegate->windowControllers().size(), 3u);
    const auto& controllers = delegate->windowControllers();
    for (std::size_t i = 1; i < 3; ++i) {
        EXPECT_EQ(controllers[i]->window()->pos() - controllers[i - 1]->window()->pos(),
                  QPoint(KNWindowCascade::step, KNWindowCascade::step));
    }
}

TEST_F(AppDelegateTest, ANewWindowCascadesFromTheNewestStillOpen) {
    delegate->applicationDidFinishLaunching();
    delegate->applicationOpenFiles({script("a.js"), script("b.js")});
    ASSERT_EQ(delegate->windowControllers().size(), 3u);
    delegate->windowControllers()[2]->window()->close();
    delegate->applicationOpenFiles({script("c.js")});
    ASSERT_EQ(delegate->windowControllers().size(), 3u);
    const auto& controllers = delegate->windowControllers();
    EXPECT_EQ(controllers[2]->window()->pos() - controllers[1]->window()->pos(),
              QPoint(KNWindowCascade::step, KNWindowCascade::step));
    EXPECT_NE(controllers[2]->window()->pos(), controllers[0]->window()->pos());
}

// Answers each modal file dialog that opens with answer, and counts them. A dialog still
// setting itself up may put its proposed name back, so it is accepted once it holds the
// answer. The answer is given again at most twice a second, since giving it makes a busy
// dialog load its folder anew; after twenty seconds the dialog is accepted as it is, so one
// that never takes the answer fails the test instead of hanging it.
class FileDialogAnswers {
public:
    explicit FileDialogAnswers(QString answer) : answer(std::move(answer)) {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                return;
            }
            if (!open.isValid()) {
                open.start();
            }
            if (dialog->selectedFiles() != QStringList{this->answer} && open.elapsed() < 20000) {
                if (!selected.isValid() || selected.elapsed() >= 500) {
                    dialog->selectFile(this->answer);
                    selected.start();
                }
                return;
            }
            open.invalidate();
            selected.invalidate();
            ++asked;
            static_cast<QDialog*>(dialog)->accept();
        });
        timer.start(20);
    }
    QString answer;
    int asked = 0;

private:
    QTimer timer;
    // Since the dialog showed, and since the answer was last given.
    QElapsedTimer open;
    QElapsedTimer selected;
};

TEST_F(AppDelegateTest, SaveWritesTheWindowsSessionAndSaveAsAsks) {
    delegate->applicationDidFinishLaunching();
    const std::shared_ptr<KNPlotWindowController> lorenz = delegate->windowControllers()[0];
    const Ui::PlotWindow& ui = lorenz->window()->ui();
    const QString path = folder.filePath("explored.kinora");
    const auto evolutionsIn = [](const QString& file) {
        KNError error;
        const std::optional<KNSession> session =
            KNSessionReader::readFile(file.toStdString(), &error);
        EXPECT_TRUE(session) << error.failureReason;
        return session ? session->evolutionCount : std::int64_t{-1};
    };

    // A window without a session file asks where to save; the file then names the window.
    FileDialogAnswers dialogs(path);
    ui.saveSessionAction->trigger();
    EXPECT_EQ(dialogs.asked, 1);
    EXPECT_EQ(evolutionsIn(path), 10);
    EXPECT_EQ(lorenz->window()->windowTitle(), "explored.kinora");
    EXPECT_EQ(lorenz->statusReporter()->currentMessage(), "Saved the session to \"" + path + "\".");

    // From then on Save writes that file without asking; Save As asks.
    lorenz->changeEvolutions(5);
    ui.saveSessionAction->trigger();
    EXPECT_EQ(dialogs.asked, 1);
    EXPECT_EQ(evolutionsIn(path), 5);
    dialogs.answer = folder.filePath("copy.kinora");
    ui.saveSessionAsAction->trigger();
    EXPECT_EQ(dialogs.asked, 2);
    EXPECT_EQ(evolutionsIn(dialogs.answer), 5);
    EXPECT_EQ(lorenz->window()->windowTitle(), "copy.kinora");

    // A window opened from a session saves to it without asking.
    delegate->applicationOpenFiles({path});
    ASSERT_EQ(delegate->windowControllers().size(), 2u);
    const std::shared_ptr<KNPlotWindowController> reopened = delegate->windowControllers()[1];
    EXPECT_EQ(reopened->window()->windowTitle(), "explored.kinora");
    reopened->changeEvolutions(3);
    reopened->window()->ui().saveSessionAction->trigger();
    EXPECT_EQ(dialogs.asked, 2);
    EXPECT_EQ(evolutionsIn(path), 3);
    EXPECT_TRUE(alerts->messages.empty());
}

TEST(WindowCascade, KeepsEveryWindowOnTheScreenAndStartsAgainAtItsTopLeft) {
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    KNWindowCascade cascade;
    std::vector<std::unique_ptr<QWidget>> windows;
    int restarts = 0;
    for (int i = 0; i < 24; ++i) {
        auto window = std::make_unique<QWidget>();
        window->resize(available.size() / 2);
        cascade.place(window.get());
        window->show();
        EXPECT_TRUE(available.contains(window->geometry())) << i;
        if (i > 0) {
            EXPECT_NE(window->pos(), windows.back()->pos()) << i;
            restarts += window->pos() == available.topLeft() ? 1 : 0;
        }
        windows.push_back(std::move(window));
    }
    EXPECT_EQ(restarts, 1);
}

TEST_F(AppDelegateTest, TheSameFileTwiceOpensTwoIndependentWindows) {
    const QString path = script("pair.js");
    delegate->applicationOpenFiles({path, path});
    ASSERT_EQ(delegate->windowControllers().size(), 2u);
    auto& one = *delegate->windowControllers()[0];
    auto& other = *delegate->windowControllers()[1];
    EXPECT_EQ(one.window()->windowTitle(), "pair.js");
    EXPECT_EQ(other.window()->windowTitle(), "pair.js");
    EXPECT_NE(&one.system(), &other.system());

    one.changeEvolutions(4);
    one.system().parameter(0).setMax(3.0);
    one.addSeed();
    EXPECT_EQ(other.evolutionCount(), 10);
    EXPECT_EQ(other.system().parameter(0).max(), 0.0);
    EXPECT_EQ(seedsOf(other.plotView()).size(), 1u);
    EXPECT_EQ(seedsOf(one.plotView()).size(), 2u);
}

TEST_F(AppDelegateTest, ClosingAWindowDropsOnlyItsController) {
    delegate->applicationDidFinishLaunching();
    delegate->applicationOpenFiles({script("a.js"), script("b.js")});
    ASSERT_EQ(delegate->windowControllers().size(), 3u);
    std::weak_ptr<KNPlotWindowController> closed = delegate->windowControllers()[1];
    QPointer<KNPlotWindow> closedWindow = delegate->windowControllers()[1]->window();

    closedWindow->close();
    ASSERT_EQ(delegate->windowControllers().size(), 2u);
    EXPECT_EQ(controller(0).title(), std::nullopt);
    EXPECT_EQ(controller(1).title(), "b.js");
    // Gone once its delayed update has run, and its window with it.
    EXPECT_TRUE(eventually([&] { return closed.expired() && closedWindow.isNull(); }));

    // The others keep working, the closing menu item included.
    auto& remaining = *delegate->windowControllers()[1];
    remaining.addSeedButton()->click();
    EXPECT_EQ(seedsOf(remaining.plotView()).size(), 2u);
    remaining.window()->ui().closeWindowAction->trigger();
    EXPECT_EQ(delegate->windowControllers().size(), 1u);
    EXPECT_EQ(visiblePlotWindows(), 1);
}

TEST_F(AppDelegateTest, FilesChosenInTheOpenPanelOpenAndGoOnTheRecentList) {
    delegate->applicationDidFinishLaunching();
    const QString good = script("good.js");
    const QString broken = script("broken.js", "function evolution() {}");

    // The menu item of any plot window shows the panel; asking again raises the same one.
    delegate->windowControllers()[0]->window()->ui().openFileAction->trigger();
    QFileDialog* panel = delegate->openFile();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_FALSE(panel->isModal());
    EXPECT_EQ(panel->fileMode(), QFileDialog::ExistingFiles);
    EXPECT_EQ(panel->nameFilters(),
              (QStringList{"Kinora files (*.js *.kinora)", "JavaScript systems (*.js)",
                           "Kinora sessions (*.kinora)"}));

    panel->setDirectory(folder.path());
    panel->selectFile("\"broken.js\" \"good.js\"");
    const QPointer<QFileDialog> accepted(panel);
    static_cast<QDialog*>(panel)->accept();
    ASSERT_EQ(alerts->messages.size(), 1u);
    EXPECT_EQ(alerts->messages[0], "'parameters' array is undefined");
    ASSERT_EQ(delegate->windowControllers().size(), 2u);
    EXPECT_EQ(controller(1).title(), "good.js");
    // Noted even when the file failed to load.
    EXPECT_EQ(recentFiles(), (std::vector<std::string>{broken.toStdString(), good.toStdString()}));

    // A panel that has ended goes; asking again shows a new one.
    ASSERT_TRUE(eventually([&] { return accepted.isNull(); }));
    const QPointer<QFileDialog> next = delegate->openFile();
    ASSERT_NE(next, nullptr);
    next->reject();
    ASSERT_TRUE(eventually([&] { return next.isNull(); }));
    EXPECT_EQ(delegate->windowControllers().size(), 2u);
    EXPECT_EQ(recentFiles().size(), 2u);
}

TEST_F(AppDelegateTest, TheOpenPanelOpensOnlyReadableTypes) {
    const QString good = script("good.js");
    script("notes.txt");
    script("system.js.bak");
    QFileDialog* panel = delegate->openFile();
    ASSERT_NE(panel, nullptr);
    panel->setDirectory(folder.path());
    // Names typed by hand get past the panel's filter.
    panel->selectFile("\"notes.txt\" \"good.js\" \"system.js.bak\"");
    static_cast<QDialog*>(panel)->accept();
    EXPECT_EQ(alerts->messages,
              std::vector<std::string>{
                  "Cannot open \"notes.txt\", \"system.js.bak\": Kinora "
                  "opens only JavaScript systems (.js), Kinora sessions (.kinora)."});
    ASSERT_EQ(delegate->windowControllers().size(), 1u);
    EXPECT_EQ(controller(0).title(), "good.js");
    EXPECT_EQ(recentFiles(), std::vector<std::string>{good.toStdString()});
}

TEST_F(AppDelegateTest, SeedsCanBePickedDraggedAndRemovedWithTheMouse) {
    delegate->applicationDidFinishLaunching();
    auto& lorenz = *delegate->windowControllers()[0];
    ASSERT_TRUE(settle(lorenz));

    // The seed is the one white point of the picture.
    KNPlotView* view = lorenz.plotView();
    QWidget* container = lorenz.window()->ui().plotViewPlaceholder;
    const QImage picture = screenImageOf(container);
    const QPoint seedPixel = whitePointIn(picture);
    ASSERT_GE(seedPixel.x(), 0) << "no seed in the picture";
    EXPECT_GT(countPathPixels(picture), 50);

    Seed* seed = seedsOf(view).front();
    QTest::mousePress(view, Qt::LeftButton, {}, seedPixel);
    EXPECT_TRUE(lorenz.window()->ui().removeSeedButton->isEnabled());
    QTest::mouseMove(view, seedPixel + QPoint(30, 20));
    QTest::mouseMove(view, seedPixel + QPoint(60, 40));
    QTest::mouseRelease(view, Qt::LeftButton, {}, seedPixel + QPoint(60, 40));
    const kinora::Vector3 moved = seed->transform.position;
    EXPECT_FALSE(moved.x == 1.0 && moved.y == 1.0 && moved.z == 1.0);
    const PathContents path = pathContents(view, seed->pathIDs[0]);
    ASSERT_EQ(path.vertices.size(), 1000u);
    EXPECT_FLOAT_EQ(path.vertices[0].position[0] - path.vertices[0].displacement[0],
                    static_cast<float>(moved.x));
    // The line starts at the seed, not a step away.
    EXPECT_EQ(path.start,
              (std::array<float, 3>{static_cast<float>(moved.x), static_cast<float>(moved.y),
                                    static_cast<float>(moved.z)}));

    lorenz.window()->ui().removeSeedButton->click();
    EXPECT_TRUE(seedsOf(view).empty());
    EXPECT_FALSE(lorenz.window()->ui().removeSeedButton->isEnabled());
}

// Runs the event loop until the application quits by itself.
TEST_F(AppDelegateTest, ClosingTheLastWindowQuitsTheApplication) {
    delegate->applicationDidFinishLaunching();
    delegate->applicationOpenFiles({script("a.js")});
    bool timedOut = false;
    QTimer::singleShot(100, [] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            widget->close();
        }
    });
    // Tied to this test: once exec has returned, the guard must not fire in a later test.
    QObject timeOutGuard;
    QTimer::singleShot(patienceMilliseconds, &timeOutGuard, [&timedOut] {
        timedOut = true;
        QApplication::exit(1);
    });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(timedOut);
    EXPECT_TRUE(delegate->windowControllers().empty());
}

} // namespace
