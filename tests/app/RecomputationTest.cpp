#include "ControllerTest.h"
#include "Eventually.h"
#include "KNPlotWindow.h"
#include "KNStatusReporter.h"
#include "SeedFan.h"
#include "SystemPathDriver.h"

#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <cstring>

namespace {

using RecomputationTest = ControllerTest;

// Whether an event queued before the action ran while the recomputation still had work left,
// i.e. the window answered input before the work was done.
class QueuedProbe {
public:
    explicit QueuedProbe(const KNPlotWindowController* controller) {
        QTimer::singleShot(0, [this, controller] {
            ran = true;
            whileRecomputing = controller->isRecomputing();
        });
    }
    bool ran = false;
    bool whileRecomputing = false;
};

TEST_F(RecomputationTest, AHundredSeedsOfTwentyLongPathsLeaveTheWindowAnsweringAndExact) {
    auto controller = lorenzWindow();
    const double ends[] = {28.0, 10.0, 8.0 / 3.0};
    for (int i = 0; i < 3; ++i) {
        controller->system().parameter(i).setMax(ends[i]);
    }
    for (int k = 1; k < 100; ++k) {
        controller->addSeed();
        controller->moveSelectedSeed({0.1 * k, 1.0, 1.0});
    }
    controller->changeIntegrationStep(0.001);
    const QueuedProbe probe(controller.get());
    controller->changeEvolutions(20);
    EXPECT_TRUE(controller->isRecomputing());
    ASSERT_TRUE(eventually([&] { return probe.ran; }));
    EXPECT_TRUE(probe.whileRecomputing);
    Seed* first = seedsOf(controller->plotView()).front();
    ASSERT_TRUE(eventually(
        [&] { return pathsOf(controller->plotView(), first)[19].vertices.size() == 10'000u; }));
    const bool stopped = controller->isRecomputing();
    controller->cancelOperation();
    EXPECT_FALSE(controller->isRecomputing());
    if (stopped) {
        // The status bar says how many paths are drawn, and exactly those are.
        const QString said = controller->statusReporter()->currentMessage();
        const QRegularExpressionMatch match =
            QRegularExpression(R"(^Stopped: ([\d,]+) of the 2,000 paths being computed are drawn )"
                               R"(\((\d+) %\); the others are blank\.$)")
                .match(said);
        ASSERT_TRUE(match.hasMatch()) << said.toStdString();
        int drawn = 0;
        for (Seed* seed : seedsOf(controller->plotView())) {
            for (const PathContents& path : pathsOf(controller->plotView(), seed)) {
                drawn += path.isBlank() ? 0 : 1;
            }
        }
        EXPECT_EQ(match.captured(1).remove(QLatin1Char(',')).toInt(), drawn);
        EXPECT_EQ(match.captured(2).toInt(), drawn * 100 / 2000);
    }

    // The paths are exactly what one uninterrupted fan gives.
    kinora::SeedFan expected;
    kinora::SystemPathDriver driver;
    KinoraSystem system = controller->system();
    expected.compute(system, driver, first->transform.position, 20, 10'000);
    const std::vector<PathContents> paths = pathsOf(controller->plotView(), first);
    for (std::int32_t m : {0, 19}) {
        ASSERT_EQ(paths[m].vertices.size(), 10'000u);
        EXPECT_EQ(std::memcmp(paths[m].vertices.data(), expected.path(m).vertices.data(),
                              10'000 * sizeof(kinora::PathVertex)),
                  0)
            << m;
    }
}

TEST_F(RecomputationTest, ASlowScriptOpensAtOnceAnswersInputAndEscapeStopsIt) {
    // Tens of microseconds per call, far below the step limit even on a much slower machine,
    // yet a whole fan of 100,000 steps would take many seconds even on a much faster one.
    auto controller = KNPlotWindowController::initWithSourceString(R"(
var parameters = ["a"];
var initial = {duration: 100};
function evolution(p, x, y, z) {
    var s = 0;
    for (var i = 0; i < 20000; ++i) { s += i % 7; }
    return [-x + s * 0, -y, -z];
})",
                                                                   alerts);
    ASSERT_TRUE(controller);
    controller->window();
    EXPECT_TRUE(controller->isRecomputing());
    const QueuedProbe probe(controller.get());
    ASSERT_TRUE(eventually([&] { return probe.ran; }));
    EXPECT_TRUE(probe.whileRecomputing);

    controller->cancelOperation();
    EXPECT_FALSE(controller->isRecomputing());
    // No slice left over starts it again: a while of the event loop runs whatever was queued.
    QTest::qWait(100);
    EXPECT_FALSE(controller->isRecomputing());
}

TEST_F(RecomputationTest, PathsThatOutlastTheOpeningFramingAreFramedOnceTheyAreThere) {
    // Tens of microseconds per call: the paths are still being computed when the window has
    // been laid out and frames its views.
    auto controller = KNPlotWindowController::initWithSourceString(R"(
var parameters = ["rho", "sigma", "beta"];
var initial = {sweep: {rho: [10, 28], sigma: 10, beta: 8 / 3}, duration: 20};
function evolution(p, x, y, z) {
    for (var i = 0, s = 0; i < 3000; ++i) { s += i % 7; }
    return [p[1] * (y - x) + s * 0, x * (p[0] - z) - y, x * y - p[2] * z];
})",
                                                                   alerts);
    ASSERT_TRUE(controller);
    controller->showWindow();
    ASSERT_TRUE(settle(*controller));
    const auto placement = [&] {
        const kinora::Matrix4 model =
            controller->plotView()->viewCamera().sceneTransform.modelMatrix();
        return std::vector<float>(std::begin(model.m), std::end(model.m));
    };
    const std::vector<float> opened = placement();

    // Fit frames every path; the window opened that way, and Reset View returns there.
    controller->window()->ui().fitViewAction->trigger();
    EXPECT_EQ(placement(), opened);
    controller->plotView()->setZoom(3.0f);
    controller->window()->ui().resetViewAction->trigger();
    EXPECT_EQ(placement(), opened);
}

} // namespace
