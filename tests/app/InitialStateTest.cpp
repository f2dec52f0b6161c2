#include "ControllerTest.h"
#include "KNNumberField.h"
#include "KNParameterField.h"
#include "KNParameterSpaceView.h"
#include "KNParameterTableView.h"
#include "KNStatusReporter.h"

#include <QTableWidget>
#include <gtest/gtest.h>

namespace {

const std::string declaredLorenz = R"(
var parameters = ["rho", "sigma", "beta"];
function evolution(p, x, y, z) {
    return [p[1] * (y - x), x * (p[0] - z) - y, x * y - p[2] * z];
}
var initial = {
    sweep: {rho: [10, 28], sigma: 10, beta: 8 / 3},
    seeds: [[1, 1, 1], [-3, 2, 12]],
    duration: 5, step: 0.02, evolutions: 4
};
)";

using InitialStateTest = ControllerTest;

TEST_F(InitialStateTest, TheDeclarationReachesTableHandlesToolbarAndPaths) {
    auto controller = scriptWindow(declaredLorenz.c_str());
    ASSERT_TRUE(controller);
    EXPECT_TRUE(alerts->messages.empty());

    const double starts[] = {10, 10, 8.0 / 3.0};
    const double ends[] = {28, 10, 8.0 / 3.0};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(controller->system().parameter(i).min(), starts[i]);
        EXPECT_EQ(controller->system().parameter(i).max(), ends[i]);
        KNParameterTableView* row = parameterRow(controller->sliderTableView(), i);
        ASSERT_TRUE(row);
        EXPECT_EQ(row->minField()->doubleValue(), starts[i]);
        EXPECT_EQ(row->maxField()->doubleValue(), ends[i]);
        EXPECT_EQ(controller->parameterView()->minValueForAxis(i), starts[i]);
        EXPECT_EQ(controller->parameterView()->maxValueForAxis(i), ends[i]);
    }
    EXPECT_EQ(controller->evolutionsControl()->doubleValue(), 4.0);
    EXPECT_EQ(controller->integrationStepControl()->doubleValue(), 0.02);
    EXPECT_EQ(controller->pathStepLength(), 5.0);
    EXPECT_EQ(controller->pathDurationControl()->doubleValue(), 5.0);

    const std::vector<Seed*> seeds = seedsOf(controller->plotView());
    ASSERT_EQ(seeds.size(), 2u);
    EXPECT_EQ(seeds[1]->transform.position.z, 12.0);
    // The built-in Lorenz computes what the script does, with the sweep the window now has.
    KinoraSystem system = controller->system();
    system.evolution = lorenz;
    for (Seed* seed : seeds) {
        const std::vector<PathContents> paths = pathsOf(controller->plotView(), seed);
        for (int m = 0; m < 4; ++m) {
            kinora::RK4Integrator integrator(0.02);
            system.integrator = &integrator;
            kinora::setParametersAtSweepFraction(system, m / 3.0);
            kinora::Trajectory expected;
            expected.integrate(system, seed->transform.position, 250);
            expectPath(paths[static_cast<std::size_t>(m)], expected, static_cast<float>(m / 3.0));
        }
        EXPECT_TRUE(paths[4].isBlank());
    }
}

TEST_F(InitialStateTest, ARefusedDeclarationGivesOneAlertAndNoWindowAndDurationsAreChecked) {
    const std::string source = declaredLorenz + "initial.sweep.rhoo = 3;";
    EXPECT_FALSE(KNPlotWindowController::initWithSourceString(source, alerts));
    EXPECT_EQ(alerts->messages,
              std::vector<std::string>{"'initial.sweep.rhoo' names no parameter"});

    auto controller = lorenzWindow();
    Seed* seed = firstSeed(*controller);
    KNNumberField* duration = controller->pathDurationControl();
    duration->enterDoubleValue(1e5);
    EXPECT_EQ(controller->statusReporter()->currentMessage(),
              "A duration of 100000 gives 10,000,000 points per path at a step of 0.01; the most "
              "is 1,000,000.");
    duration->enterDoubleValue(-2);
    EXPECT_EQ(controller->statusReporter()->currentMessage(),
              "A duration of -2 is not a positive, finite number of time units.");
    EXPECT_EQ(controller->pathStepLength(), 10.0);
    EXPECT_EQ(duration->doubleValue(), 10.0);
    EXPECT_EQ(pathsOf(controller->plotView(), seed)[0].vertices.size(), 1000u);
    duration->enterDoubleValue(2.5);
    waitForRecomputation(*controller);
    EXPECT_EQ(pathsOf(controller->plotView(), seed)[0].vertices.size(), 250u);
}

} // namespace
