#include "KNDefinitions.h"
#include "KNModalAlertPresenter.h"
#include "KNParameterField.h"
#include "KNParameterSpaceView.h"
#include "KNParameterTableView.h"
#include "KNPlotView.h"
#include "KNPlotWindow.h"
#include "KNPlotWindowController.h"
#include "Seed.h"

#include <QApplication>
#include <QScreen>
#include <QTableWidget>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

KNParameterTableView* row(KNPlotWindowController& controller, int index) {
    return qobject_cast<KNParameterTableView*>(controller.sliderTableView()->cellWidget(index, 0));
}

// Enters a sweep in a parameter's row as the user would type it.
void enterSweep(KNPlotWindowController& controller, int index, double start, double end) {
    row(controller, index)->minField()->enterDoubleValue(start);
    row(controller, index)->maxField()->enterDoubleValue(end);
}

} // namespace

// Opens a Lorenz window with rho swept from 10 to 28 and two seeds, and saves a picture of the
// window to the file named by the one argument. Needs a display (Xvfb will do).
int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s picture.png\n", argv[0]);
        return 2;
    }
    const QString pictureFile = QString::fromLocal8Bit(argv[1]);

    auto controller = KNPlotWindowController::initWithIntegrable(
        lorenz, {"rho", "sigma", "beta"}, std::make_shared<KNModalAlertPresenter>());
    controller->window()->resize(1100, 680);
    controller->showWindow();

    enterSweep(*controller, 0, 10.0, 28.0);
    enterSweep(*controller, 1, 10.0, 10.0);
    enterSweep(*controller, 2, 8.0 / 3.0, 8.0 / 3.0);
    Seed* second = controller->plotView()->addSeed();
    second->transform.position = kinora::Vector3(-3.0, 2.0, 12.0);
    controller->plotViewSeedWasMoved(controller->plotView(), second);
    controller->plotView()->setZoom(0.1f);
    controller->parameterView()->setZoom(0.09f);

    int status = 1;
    // After the window's own delayed update, so both views draw at their laid-out size.
    QTimer::singleShot(1000, &application, [&] {
        controller->plotView()->redraw();
        controller->parameterView()->redraw();
        QApplication::processEvents();
        KNPlotWindow* window = controller->window();
        const QPixmap picture = window->screen()->grabWindow(0, window->x(), window->y(),
                                                             window->frameGeometry().width(),
                                                             window->frameGeometry().height());
        status = picture.save(pictureFile) ? 0 : 1;
        if (status != 0) {
            std::fprintf(stderr, "cannot write %s\n", argv[1]);
        }
        application.quit();
    });
    QApplication::exec();
    return status;
}
