// What the user waits for in a real window on the display the benchmark is given: a parameter
// edit of a window with one seed (recomputed, both views drawn and presented) against dragging
// that seed (recomputed, the plot view drawn and presented), with the plot view at 800x600 and
// 1600x1200; and a frame of the playing time cursor (moved on, the plot view and the
// time-series panel drawn and presented) against the same drag. Left out without a display.
#include "HeadlessContext.h"
#include "KNConsoleAlertPresenter.h"
#include "KNDefinitions.h"
#include "KNParameterSpaceView.h"
#include "KNPlotView.h"
#include "KNPlotWindow.h"
#include "KNPlotWindowController.h"
#include "KNTimeCursorControls.h"
#include "KNTimeSeriesView.h"
#include "RatioRegistry.h"
#include "Seed.h"

#include <QApplication>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <string>

namespace {

// Runs the event loop until every view has shown its last requested picture.
void waitUntilPresented(KNPlotWindowController& controller) {
    while (controller.isOpening() || controller.isRecomputing() ||
           controller.plotView()->isDrawing() || controller.parameterView()->isDrawing() ||
           controller.window()->timeSeriesView()->isDrawing()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

// A Lorenz window with one seed whose plot view is width x height device pixels.
std::shared_ptr<KNPlotWindowController> openWindow(int width, int height) {
    auto controller = KNPlotWindowController::initWithIntegrable(
        lorenz, {"rho", "sigma", "beta"}, std::make_shared<KNConsoleAlertPresenter>(stderr));
    controller->showWindow();
    KNPlotView* view = controller->plotView();
    QElapsedTimer waited;
    waited.start();
    // The layout decides the view's size: grow the window by what the view lacks.
    while (waited.elapsed() < 10000 && (view->width() != width || view->height() != height)) {
        KNPlotWindow* window = controller->window();
        window->resize(window->width() + width - view->width(),
                       window->height() + height - view->height());
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    waitUntilPresented(*controller);
    controller->changeParameterSweep(0, 10.0, 28.0);
    // The window opens with one seed: selected, as a click on it would.
    view->enumerateSeedsWithBlock([view](Seed* seed) { view->selectSeed(seed); });
    controller->moveSelectedSeed({1.0, 1.0, 1.0});
    controller->fitViews();
    waitUntilPresented(*controller);
    return controller;
}

enum class Event { drag, edit, animate };

// A playing cursor's step per frame: a ten-second sweep at 1x shown at 60 frames a second.
constexpr double animationStep = 1.0 / (KNTimeCursorControls::secondsPerSweep * 60.0);
// A frame costs more the more of the paths it draws, so it is measured just before the end.
constexpr double lateInTheSweep = 0.99;

// Range 0: width, 1: height.
template <Event event> void BM_Presented(benchmark::State& state) {
    if (QApplication::instance() == nullptr) {
        state.SkipWithError("no display");
        return;
    }
    // The drawing cases leave their headless context current on this thread.
    kinora::HeadlessContext::release();
    const auto controller = openWindow(int(state.range(0)), int(state.range(1)));
    KNPlotView* view = controller->plotView();
    if (view->width() != state.range(0) || view->height() != state.range(1)) {
        state.SkipWithError("the display cannot show a view this large");
        return;
    }
    Seed* seed = view->selectedSeed();
    int seeds = 0;
    view->enumerateSeedsWithBlock([&seeds](Seed*) { ++seeds; });
    if (seed == nullptr || seeds != 1) {
        state.SkipWithError("the window does not open with one seed");
        return;
    }
    KNTimeCursorControls* cursor = controller->timeCursorControls();
    int step = 0;
    for (auto _ : state) {
        const double nudge = (++step % 2 == 0) ? 0.01 : -0.01;
        if (event == Event::animate) {
            cursor->setTimeFraction(lateInTheSweep + (step % 2) * animationStep);
        } else if (event == Event::edit) {
            controller->changeParameterSweep(0, 10.0 + nudge, 28.0);
        } else {
            seed->transform.position.x += nudge;
            controller->plotViewSeedWasMoved(view, seed);
            view->requestRedraw();
        }
        waitUntilPresented(*controller);
    }
}

void presentedCases(benchmark::internal::Benchmark* b) {
    b->Args({800, 600})->Args({1600, 1200})->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK_TEMPLATE(BM_Presented, Event::edit)->Apply(presentedCases);
BENCHMARK_TEMPLATE(BM_Presented, Event::drag)->Apply(presentedCases);
BENCHMARK_TEMPLATE(BM_Presented, Event::animate)
    ->Args({800, 600})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

const std::string edit = "BM_Presented<Event::edit>/";
const std::string drag = "BM_Presented<Event::drag>/";
const std::string animate = "BM_Presented<Event::animate>/";

const RatioRegistration small({"edit 1 seed 800x600 presented / drag 1 seed 800x600 presented",
                               edit + "800/600/real_time", drag + "800/600/real_time", 2.0},
                              {});
const RatioRegistration large({"edit 1 seed 1600x1200 presented / drag 1 seed 1600x1200 presented",
                               edit + "1600/1200/real_time", drag + "1600/1200/real_time", 2.0},
                              {});

const RatioRegistration animation({"animation frame 1 seed 800x600 / drag 1 seed 800x600",
                                   animate + "800/600/real_time", drag + "800/600/real_time", 1.2},
                                  {});

} // namespace
