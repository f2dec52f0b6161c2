#include "KNModalAlertPresenter.h"
#include "KNPlotWindow.h"
#include "KNPlotWindowController.h"
#include "KNRecentDocuments.h"
#include "LXAppDelegate.h"

#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <memory>

// Starts the program as a user would, chooses File > Examples > Lorenz system in the first
// window, and saves a picture of the window that opens, with nothing typed or zoomed, to the file
// named by the one argument. Needs a display (Xvfb will do).
int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s picture.png\n", argv[0]);
        return 2;
    }
    const QString pictureFile = QString::fromLocal8Bit(argv[1]);

    LXAppDelegate delegate(std::make_shared<KNModalAlertPresenter>(),
                           KNRecentDocuments("kinora", "kinora %u"));
    delegate.applicationDidFinishLaunching();
    KNPlotWindow* first = delegate.windowControllers().front()->window();
    QAction* lorenz = nullptr;
    for (QAction* item : first->ui().examplesMenu->actions()) {
        if (item->text() == QLatin1String("Lorenz system")) {
            lorenz = item;
        }
    }
    if (lorenz == nullptr) {
        std::fprintf(stderr, "no Lorenz example in File > Examples\n");
        return 1;
    }
    // Only the example's window is in the picture.
    first->hide();
    lorenz->trigger();
    if (delegate.windowControllers().size() != 2) {
        std::fprintf(stderr, "the Lorenz example did not open\n");
        return 1;
    }
    KNPlotWindow* window = delegate.windowControllers().back()->window();
    window->move(0, 0);

    int status = 1;
    // After the window's own delayed update, so both views draw at their laid-out size.
    QTimer::singleShot(1000, &application, [&] {
        QApplication::processEvents();
        const QPixmap picture = window->screen()->grabWindow(0, window->x(), window->y(),
                                                             window->frameGeometry().width(),
                                                             window->frameGeometry().height());
        status = picture.save(pictureFile) ? 0 : 1;
        if (status != 0) {
            std::fprintf(stderr, "cannot write %s\n", argv[1]);
        }
        QApplication::closeAllWindows();
        application.quit();
    });
    QApplication::exec();
    return status;
}
