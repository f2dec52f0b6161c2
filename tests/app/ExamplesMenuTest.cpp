#include "AppTestSupport.h"
#include "Eventually.h"
#include "KNPlotWindow.h"
#include "KNPlotWindowController.h"
#include "KNRecentDocuments.h"
#include "LXAppDelegate.h"
#include "RecordingAlertPresenter.h"

#include <QApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Where the path colours lie in image: the smallest rectangle around them.
QRect pathExtent(const QImage& image) {
    QRect extent;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (isPathColour(image.pixel(x, y))) {
                extent |= QRect(x, y, 1, 1);
            }
        }
    }
    return extent;
}

TEST(ExamplesMenu, EveryShippedExampleOpensWithItsAttractorFramed) {
    QTemporaryDir folder;
    const std::string savedDataHome = std::getenv("XDG_DATA_HOME");
    setenv("XDG_DATA_HOME", qPrintable(folder.filePath("data")), 1);
    auto alerts = std::make_shared<RecordingAlertPresenter>();
    LXAppDelegate delegate(alerts, KNRecentDocuments("kinora", "kinora %u"));
    delegate.applicationDidFinishLaunching();
    // Closing each example while the first window is hidden must not end the test's event loops.
    QApplication::setQuitOnLastWindowClosed(false);
    // Out of the way of the example windows, which open at the same place.
    KNPlotWindow* lorenz = delegate.windowControllers()[0]->window();
    lorenz->hide();

    QStringList titles;
    const QList<QAction*> items = lorenz->ui().examplesMenu->actions();
    for (QAction* item : items) {
        titles << item->text();
    }
    EXPECT_EQ(titles, QStringList({"Aizawa attractor", "Chen system", "Halvorsen attractor",
                                   "Lorenz system", "Rabinovich–Fabrikant equations",
                                   "Rössler system", "Thomas attractor"}));

    for (QAction* item : items) {
        SCOPED_TRACE(item->text().toStdString());
        item->trigger();
        ASSERT_EQ(delegate.windowControllers().size(), 2u);
        KNPlotWindowController& example = *delegate.windowControllers()[1];
        const std::weak_ptr<KNPlotWindowController> closed = delegate.windowControllers()[1];
        ASSERT_TRUE(settle(example));
        EXPECT_TRUE(alerts->messages.empty());

        // Nothing typed, nothing zoomed: the paths reach across much of the view, and all of
        // them are inside it (no path colour touches the border).
        QWidget* view = example.window()->ui().plotViewPlaceholder;
        const QRect extent = pathExtent(screenImageOf(view));
        EXPECT_GT(
            std::max(extent.width() * 1.0 / view->width(), extent.height() * 1.0 / view->height()),
            0.55);
        EXPECT_TRUE(QRect(1, 1, view->width() - 2, view->height() - 2).contains(extent));
        example.window()->close();
        ASSERT_TRUE(eventually([&] { return closed.expired(); }));
    }
    lorenz->close();
    EXPECT_TRUE(plotWindowsGone());
    setenv("XDG_DATA_HOME", savedDataHome.c_str(), 1);
}

} // namespace
