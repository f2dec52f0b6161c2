#include "ControllerTest.h"
#include "SeedFan.h"
#include "SystemPathDriver.h"

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
    QTRY_VERIFY(probe.ran);
    EXPECT_TRUE(probe.whileRecomputing);
    Seed* first = seedsOf(controller->plotView()).front();
    QTRY_VERIFY_WITH_TIMEOUT(pathsOf(controller->plotView(), first)[19].vertices.size() == 10'000u,
                             60'000);
    controller->cancelOperation();
    EXPECT_FALSE(controller->isRecomputing());

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
    // About a millisecond per call: a whole fan would take most of a minute.
    auto controller = KNPlotWindowController::initWithSourceString(R"(
var parameters = ["a"];
function evolution(p, x, y, z) {
    var s = 0;
    for (var i = 0; i < 300000; ++i) { s += i % 7; }
    return [-x + s * 0, -y, -z];
})",
                                                                   alerts);
    ASSERT_TRUE(controller);
    controller->window();
    EXPECT_TRUE(controller->isRecomputing());
    const QueuedProbe probe(controller.get());
    QTRY_VERIFY(probe.ran);
    EXPECT_TRUE(probe.whileRecomputing);

    controller->cancelOperation();
    EXPECT_FALSE(controller->isRecomputing());
    QTest::qWait(100);
    EXPECT_FALSE(controller->isRecomputing());
}

} // namespace
