#include "AppTestSupport.h"
#include "ControllerTest.h"
#include "KNDefinitions.h"
#include "KNNumberField.h"
#include "KNPlotWindow.h"
#include "KNPlotWindowController.h"
#include "KNSeedPositionPanel.h"
#include "KNStatusReporter.h"
#include "RK4Integrator.h"
#include "RecordingAlertPresenter.h"
#include "Seed.h"
#include "Trajectory.h"

#include <QApplication>
#include <QComboBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <limits>
#include <memory>

namespace {

const char* const twoParameterScript = R"(
var parameters = ["a", "b"];
function evolution(p, x, y, z) { return [p[0] - x, p[1] - y, -z]; }
)";

const char* const fiveParameterScript = R"(
var parameters = ["p0", "p1", "p2", "p3", "p4"];
function evolution(p, x, y, z) { return [p[0] + p[3], p[1] + p[4], p[2]]; }
)";

// Every parameter value the engine tries to hand over is refused by a setter on the array type.
const char* const refusingParameterScript = R"(
var parameters = ["a"];
function evolution(p, x, y, z) { return [-x, -y, -z]; }
Object.defineProperty(Array.prototype, "0", {
    set: function (v) { throw new Error("sweep values are read-only"); }
});
)";

// Answers the load's look-up of `evolution`, then fails every later one.
const char* const vanishingEvolutionScript = R"(
var parameters = [];
var lookups = 0;
Object.defineProperty(this, "evolution", {
    get: function () {
        lookups += 1;
        if (lookups > 1) throw new Error("evolution has gone away");
        return function (p, x, y, z) { return [1, 0, 0]; };
    }
});
)";

using PlotWindowControllerTest = ControllerTest;

TEST_F(PlotWindowControllerTest, ANewLorenzWindowHasOneSeedWithTenCoincidingPaths) {
    auto controller = lorenzWindow();
    EXPECT_TRUE(alerts->messages.empty());
    EXPECT_EQ(controller->window()->windowTitle(), "Kinora");
    EXPECT_FALSE(controller->removeSeedButton()->isEnabled());
    EXPECT_EQ(controller->evolutionCount(), 10);
    EXPECT_EQ(controller->pathStepLength(), 10);
    EXPECT_EQ(controller->integrator().integrationStep(), 0.01);

    KinoraSystem& system = controller->system();
    ASSERT_EQ(system.parameterCount(), 3);
    const char* names[] = {"rho", "sigma", "beta"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(system.parameter(i).name, names[i]);
        EXPECT_EQ(system.parameter(i).min(), 0.0);
        EXPECT_EQ(system.parameter(i).max(), 0.0);
    }

    const std::vector<Seed*> seeds = seedsOf(controller->plotView());
    ASSERT_EQ(seeds.size(), 1u);
    const kinora::Vector3 seed = seeds[0]->transform.position;
    EXPECT_EQ(seed.x, 1.0);
    EXPECT_EQ(seed.y, 1.0);
    EXPECT_EQ(seed.z, 1.0);

    const std::vector<PathContents> paths = pathsOf(controller->plotView(), seeds[0]);
    ASSERT_EQ(paths.size(), 20u);
    const kinora::Trajectory expected = expectedTrajectory(system, 0.01, 0.0, seed);
    for (int m = 0; m < 10; ++m) {
        SCOPED_TRACE(m);
        ASSERT_EQ(paths[m].vertices.size(), 1000u);
        expectPath(paths[m], expected, static_cast<float>(m / 9.0));
    }
    for (int m = 10; m < 20; ++m) {
        EXPECT_TRUE(paths[m].isBlank()) << m;
    }

    // The first vertex is one step from the seed, not the seed itself; the last three floats
    // are the displacement from the seed.
    const kinora::Vector3 first = system.advance(0.0, seed);
    EXPECT_EQ(paths[0].vertices[0].position[1], static_cast<float>(first.y));
    EXPECT_NE(paths[0].vertices[0].position[1], 1.0f);
    EXPECT_EQ(paths[0].vertices[0].displacement[1], static_cast<float>(first.y - seed.y));
}

TEST_F(PlotWindowControllerTest, EvolutionsRunFromTheStartToTheEndOfTheSweep) {
    auto controller = lorenzWindow();
    KinoraSystem& system = controller->system();
    const double starts[] = {28.0, 10.0, 8.0 / 3.0};
    const double ends[] = {14.0, 12.0, 1.0};
    for (int i = 0; i < 3; ++i) {
        system.parameter(i).setMin(starts[i]);
        system.parameter(i).setMax(ends[i]);
    }
    Seed* seed = firstSeed(*controller);
    const kinora::Vector3 start = seed->transform.position;

    controller->changeEvolutions(2);
    waitForRecomputation(*controller);
    std::vector<PathContents> paths = pathsOf(controller->plotView(), seed);
    expectPath(paths[0], expectedTrajectory(system, 0.01, 0.0, start), 0.0f);
    expectPath(paths[1], expectedTrajectory(system, 0.01, 1.0, start), 1.0f);
    for (int m = 2; m < 20; ++m) {
        EXPECT_TRUE(paths[m].isBlank()) << m;
    }
    // The parameters keep the values of the last evolution.
    EXPECT_EQ(system.parameter(0).value(), 14.0);

    // A single evolution runs at the start of the sweep.
    controller->changeEvolutions(1);
    waitForRecomputation(*controller);
    paths = pathsOf(controller->plotView(), seed);
    expectPath(paths[0], expectedTrajectory(system, 0.01, 0.0, start), 0.0f);
    EXPECT_TRUE(paths[1].isBlank());
    EXPECT_EQ(system.parameter(0).value(), 28.0);

    // Five evolutions: the middle one sits halfway.
    controller->changeEvolutions(5);
    waitForRecomputation(*controller);
    paths = pathsOf(controller->plotView(), seed);
    expectPath(paths[2], expectedTrajectory(system, 0.01, 0.5, start), 0.5f);
}

TEST_F(PlotWindowControllerTest, TheEvolutionCountStaysWithinThePathsOfASeed) {
    auto controller = lorenzWindow();
    controller->addSeed();
    const std::vector<Seed*> seeds = seedsOf(controller->plotView());
    ASSERT_EQ(seeds.size(), 2u);

    controller->changeEvolutions(0);
    waitForRecomputation(*controller);
    EXPECT_EQ(controller->evolutionCount(), 0);
    for (Seed* seed : seeds) {
        for (const PathContents& path : pathsOf(controller->plotView(), seed)) {
            EXPECT_TRUE(path.isBlank());
        }
    }

    typeInto(controller->evolutionsControl(), "20");
    waitForRecomputation(*controller);
    EXPECT_EQ(controller->evolutionCount(), 20);
    const std::vector<PathContents> paths = pathsOf(controller->plotView(), seeds[0]);
    EXPECT_EQ(paths[19].vertices.size(), 1000u);
    EXPECT_FLOAT_EQ(paths[19].sValue, 1.0f);
    EXPECT_FLOAT_EQ(paths[1].sValue, static_cast<float>(1.0 / 19.0));

    // Lowering the count through the control blanks the paths above it on every seed.
    typeInto(controller->evolutionsControl(), "3");
    waitForRecomputation(*controller);
    EXPECT_EQ(controller->evolutionCount(), 3);
    for (Seed* seed : seeds) {
        const std::vector<PathContents> lowered = pathsOf(controller->plotView(), seed);
        for (int m = 0; m < 3; ++m) {
            EXPECT_EQ(lowered[m].vertices.size(), 1000u);
        }
        for (int m = 3; m < 20; ++m) {
            EXPECT_TRUE(lowered[m].isBlank()) << m;
        }
    }

    // Counts the paths cannot hold are refused, typed or not, and the count in force stays.
    for (const char* typed : {"21", "1000", "-5", "1.5", "abc"}) {
        SCOPED_TRACE(typed);
        typeInto(controller->evolutionsControl(), typed);
        EXPECT_EQ(controller->evolutionCount(), 3);
        EXPECT_EQ(controller->evolutionsControl()->text(), "3");
        EXPECT_NE(controller->statusReporter()->currentMessage(), "");
        controller->statusReporter()->clear();
    }
    controller->changeEvolutions(35);
    EXPECT_EQ(controller->evolutionCount(), 3);
    EXPECT_EQ(controller->statusReporter()->currentMessage(),
              "Evolutions go from 0 to 20, the most paths a seed can have; 35 is outside.");
}

TEST_F(PlotWindowControllerTest, TheStepSetsThePathLengthAndNonsenseIsRefused) {
    auto controller = lorenzWindow();
    Seed* seed = firstSeed(*controller);

    typeInto(controller->integrationStepControl(), "2e-2");
    EXPECT_EQ(controller->integrator().integrationStep(), 0.02);
    waitForRecomputation(*controller);
    EXPECT_EQ(pathsOf(controller->plotView(), seed)[0].vertices.size(), 500u);
    EXPECT_EQ(pathsOf(controller->plotView(), seed)[9].vertices.size(), 500u);

    typeInto(controller->integrationStepControl(), "0.0001");
    EXPECT_EQ(controller->integrationStepControl()->text(), "0.0001");
    waitForRecomputation(*controller);
    EXPECT_EQ(pathsOf(controller->plotView(), seed)[0].vertices.size(), 100000u);

    controller->changeIntegrationStep(0.03);
    waitForRecomputation(*controller);
    EXPECT_EQ(pathsOf(controller->plotView(), seed)[0].vertices.size(), 333u);
    EXPECT_EQ(controller->integrationStepControl()->text(), "0.03");

    for (double step : {0.0, -0.01, std::nan(""), std::numeric_limits<double>::infinity()}) {
        SCOPED_TRACE(step);
        controller->changeIntegrationStep(step);
        EXPECT_EQ(controller->integrator().integrationStep(), 0.03);
    }
    const std::pair<const char*, const char*> refusals[] = {
        {"1e-9", "A step of 1e-9 would give 10,000,000,000 points per path; the most is "
                 "1,000,000."},
        {"1e300", "A step of 1e300 is longer than a path, which covers 10 time units; the "
                  "longest step is 10."},
        {"-1", "The step must be a positive number; -1 is not."},
    };
    for (const auto& [typed, message] : refusals) {
        SCOPED_TRACE(typed);
        typeInto(controller->integrationStepControl(), typed);
        EXPECT_EQ(controller->integrator().integrationStep(), 0.03);
        EXPECT_EQ(controller->integrationStepControl()->text(), "0.03");
        EXPECT_EQ(pathsOf(controller->plotView(), seed)[0].vertices.size(), 333u);
        EXPECT_EQ(controller->statusReporter()->currentMessage(), message);
    }

    // More points than a window holds, across all its seeds: refused before any is computed.
    for (int k = 0; k < 12; ++k) {
        controller->addSeed();
    }
    typeInto(controller->integrationStepControl(), "1.25e-5");
    EXPECT_EQ(controller->integrator().integrationStep(), 0.03);
    EXPECT_EQ(controller->statusReporter()->currentMessage(),
              "13 seeds × 10 evolutions × 800,000 points make 104,000,000 points; a window "
              "holds at most 100,000,000.");
}

TEST_F(PlotWindowControllerTest, SeedsGetTheirPathsWhenAddedAndWhenMoved) {
    auto controller = lorenzWindow();
    controller->addSeedButton()->click();
    const std::vector<Seed*> seeds = seedsOf(controller->plotView());
    ASSERT_EQ(seeds.size(), 2u);
    EXPECT_EQ(seeds[1]->transform.position.x, 0.0);
    EXPECT_EQ(seeds[1]->transform.position.z, 0.0);
    const std::vector<PathContents> added = pathsOf(controller->plotView(), seeds[1]);
    EXPECT_EQ(added[0].vertices.size(), 1000u);
    EXPECT_FLOAT_EQ(added[9].sValue, 1.0f);

    seeds[1]->transform.position = kinora::Vector3{-2.0, 3.0, 5.0};
    controller->plotViewSeedWasMoved(controller->plotView(), seeds[1]);
    const PathContents moved = pathsOf(controller->plotView(), seeds[1])[4];
    expectPath(moved, expectedTrajectory(controller->system(), 0.01, 4.0 / 9.0, {-2.0, 3.0, 5.0}),
               static_cast<float>(4.0 / 9.0));

    // A seed added is selected, so its coordinates can be typed; the selection drives the
    // remove button, and removing without a selection removes nothing.
    EXPECT_EQ(controller->plotView()->selectedSeed(), seeds[1]);
    EXPECT_TRUE(controller->removeSeedButton()->isEnabled());
    EXPECT_EQ(controller->seedPositionPanel()->field(0)->text(), "-2") << "it follows the move";
    controller->cancelOperation();
    EXPECT_FALSE(controller->removeSeedButton()->isEnabled());
    controller->removeSeed();
    EXPECT_EQ(seedsOf(controller->plotView()).size(), 2u);
}

TEST_F(PlotWindowControllerTest, PopUpsHoldNoneThenEveryParameterInOrder) {
    auto two = scriptWindow(twoParameterScript);
    ASSERT_TRUE(two);
    EXPECT_EQ(two->axisToParameterMapping(), (std::array<std::int32_t, 3>{0, 1, -1}));
    EXPECT_EQ(two->zPopupButton()->count(), 3);
    EXPECT_EQ(two->zPopupButton()->currentIndex(), 0);
    EXPECT_EQ(two->zPopupButton()->currentText(), "None");
    EXPECT_EQ(two->yPopupButton()->currentText(), "b");

    auto five = scriptWindow(fiveParameterScript);
    ASSERT_TRUE(five);
    EXPECT_EQ(five->axisToParameterMapping(), (std::array<std::int32_t, 3>{0, 1, 2}));
    EXPECT_EQ(five->xPopupButton()->count(), 6);
    EXPECT_EQ(five->xPopupButton()->itemText(5), "p4");
    EXPECT_EQ(five->zPopupButton()->currentText(), "p2");

    // Items stand for parameters by position, whatever they are called.
    auto repeated = scriptWindow(R"(
var parameters = ["None", "a", "a"];
function evolution(p, x, y, z) { return [0, 0, 0]; })");
    ASSERT_TRUE(repeated);
    for (QComboBox* popup :
         {repeated->xPopupButton(), repeated->yPopupButton(), repeated->zPopupButton()}) {
        ASSERT_EQ(popup->count(), 4);
        EXPECT_EQ(popup->itemText(0), "None");
        EXPECT_EQ(popup->itemText(1), "None");
        EXPECT_EQ(popup->itemText(2), "a");
        EXPECT_EQ(popup->itemText(3), "a");
    }
    EXPECT_EQ(repeated->xPopupButton()->currentIndex(), 1);
    EXPECT_EQ(repeated->zPopupButton()->currentIndex(), 3);
    EXPECT_TRUE(alerts->messages.empty());
}

TEST_F(PlotWindowControllerTest, AScriptSystemFollowsItsOwnScript) {
    std::ifstream example(KINORA_SOURCE_DIR "/examples/lorenz.js");
    const std::string lorenzScript((std::istreambuf_iterator<char>(example)),
                                   std::istreambuf_iterator<char>());
    auto script = scriptWindow(lorenzScript.c_str());
    ASSERT_TRUE(script);
    auto other = scriptWindow(twoParameterScript);
    ASSERT_TRUE(other);

    auto builtIn = lorenzWindow();
    // The example declares its own start; the built-in window is brought to the same one.
    builtIn->changePathDuration(script->pathStepLength());
    firstSeed(*builtIn)->transform.position = firstSeed(*script)->transform.position;
    builtIn->updateSeed(firstSeed(*builtIn));
    for (auto* controller : {script.get(), builtIn.get()}) {
        const double starts[] = {10.0, 10.0, 8.0 / 3.0};
        const double ends[] = {28.0, 10.0, 8.0 / 3.0};
        for (int i = 0; i < 3; ++i) {
            controller->system().parameter(i).setMin(starts[i]);
            controller->system().parameter(i).setMax(ends[i]);
        }
    }
    // Recompute the two windows in turn with another script's window in between, so each must
    // make its own engine current.
    script->changeEvolutions(4);
    other->changeEvolutions(4);
    builtIn->changeEvolutions(4);
    for (auto* controller : {script.get(), other.get(), builtIn.get()}) {
        waitForRecomputation(*controller);
    }

    const std::vector<PathContents> fromScript = pathsOf(script->plotView(), firstSeed(*script));
    const std::vector<PathContents> fromBuiltIn = pathsOf(builtIn->plotView(), firstSeed(*builtIn));
    for (int m = 0; m < 4; ++m) {
        ASSERT_EQ(fromScript[m].vertices.size(), fromBuiltIn[m].vertices.size());
        const auto& a = fromScript[m].vertices.back();
        const auto& b = fromBuiltIn[m].vertices.back();
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(a.position[k], b.position[k], 1e-3) << m;
        }
    }
    EXPECT_TRUE(alerts->messages.empty());
}

TEST_F(PlotWindowControllerTest, ScriptFailuresDuringTheComputationAreReportedOnceAndItGoesOn) {
    auto refusing = scriptWindow(refusingParameterScript);
    ASSERT_TRUE(refusing);
    // Not one modal alert, however many paths met the error: a status message instead.
    EXPECT_TRUE(alerts->messages.empty());
    EXPECT_EQ(refusing->lastOutcome().failedPaths, 10);
    EXPECT_EQ(refusing->statusReporter()->currentMessage(),
              "Script error in 10 of 10 paths: sweep values are read-only");
    const std::vector<PathContents> paths = pathsOf(refusing->plotView(), firstSeed(*refusing));
    for (int m = 0; m < 10; ++m) {
        EXPECT_EQ(paths[m].vertices.size(), 1000u);
    }
    // A drag event is one recomputation: one message again, still no alert.
    refusing->plotViewSeedWasMoved(refusing->plotView(), firstSeed(*refusing));
    EXPECT_TRUE(alerts->messages.empty());
    EXPECT_EQ(refusing->statusReporter()->currentMessage(),
              "Script error in 10 of 10 paths: sweep values are read-only");

    auto vanishing = scriptWindow(vanishingEvolutionScript);
    ASSERT_TRUE(vanishing);
    EXPECT_TRUE(alerts->messages.empty());
    EXPECT_EQ(vanishing->statusReporter()->currentMessage(),
              "Script error in 10 of 10 paths: evolution has gone away");
    EXPECT_EQ(pathsOf(vanishing->plotView(), firstSeed(*vanishing))[0].vertices.size(), 1000u);

    // Whatever is thrown is a script error, never a path that left the finite range.
    for (const char* thrown : {"{}", "\"\"", "undefined"}) {
        const std::string source = std::string("var parameters = ['a'];\n"
                                               "function evolution(p, x, y, z) { throw ") +
                                   thrown + "; }\n";
        auto throwing = scriptWindow(source.c_str());
        ASSERT_TRUE(throwing);
        EXPECT_EQ(throwing->lastOutcome().failedPaths, 10) << thrown;
        EXPECT_TRUE(throwing->statusReporter()->currentMessage().startsWith("Script error in"))
            << throwing->statusReporter()->currentMessage().toStdString();
    }
}

TEST_F(PlotWindowControllerTest, DivergingAndStoppedPathsAreReportedOncePerRecomputation) {
    // Blows up for a > 0 (dx/dt = a x^2), stays finite for a <= 0.
    auto diverging = scriptWindow(R"(
var parameters = ["a"];
function evolution(p, x, y, z) { return [p[0] * x * x, 0, 0]; }
)");
    ASSERT_TRUE(diverging);
    EXPECT_EQ(diverging->statusReporter()->currentMessage(), "");
    diverging->system().parameter(0).setMin(-1.0);
    diverging->system().parameter(0).setMax(8.0);
    diverging->addSeed();
    diverging->changeEvolutions(10);
    // A loaded machine may leave work past the first slice; the report comes at the end.
    waitForRecomputation(*diverging);
    // s = 1/9 gives a = 0, which stays at the seed; from s = 2/9 on a = 1 ... 8 and the seed at
    // (1, 1, 1) runs off within 10 time units. The second seed sits at the origin, a fixed point.
    EXPECT_EQ(diverging->statusReporter()->currentMessage(),
              "Seed 1 at (1, 1, 1): 8 of 10 paths left the finite range, the first from a = 1.");
    EXPECT_TRUE(alerts->messages.empty());

    auto endless = scriptWindow(R"(
var parameters = [];
function evolution(p, x, y, z) { for (;;) {} }
)");
    ASSERT_TRUE(endless);
    endless->changeEvolutions(3);
    waitForRecomputation(*endless);
    EXPECT_EQ(endless->statusReporter()->currentMessage(),
              "The time limit stopped the script in 3 of 3 paths; they end where it stopped.");
    EXPECT_TRUE(alerts->messages.empty());
}

TEST_F(PlotWindowControllerTest, AFileThatDoesNotLoadShowsWhyAndOpensNoWindow) {
    const struct {
        const char* name;
        std::string text;
        std::string message;
    } cases[] = {
        {"no-evolution.js", "var parameters = [];", "Function 'evolution' is undefined."},
        {"number.js", "var parameters = []; var evolution = 3;", "'evolution' is not a function"},
        {"no-parameters.js", "function evolution(p, x, y, z) { return [0, 0, 0]; }",
         "'parameters' array is undefined"},
        {"latin1.js", "var parameters = [\"\xE9\"];", ""},
    };
    const auto windowsBefore = QApplication::topLevelWidgets().size();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        alerts->clear();
        const QString path = writeFile(folder, c.name, c.text);
        EXPECT_FALSE(
            KNPlotWindowController::initWithContentsOfURL(QUrl::fromLocalFile(path), alerts));
        ASSERT_EQ(alerts->messages.size(), 1u);
        const std::string expected = c.message.empty() ? "Cannot read \"" + path.toStdString() +
                                                             "\": the file is not valid UTF-8 text."
                                                       : c.message;
        EXPECT_EQ(alerts->messages[0], expected);
        // The alert names the file even where the script's own message cannot.
        EXPECT_EQ(alerts->documentNames[0], c.name);
    }
    alerts->clear();
    EXPECT_FALSE(KNPlotWindowController::initWithContentsOfURL(
        QUrl("https://example.invalid/system.js"), alerts));
    EXPECT_EQ(alerts->messages.size(), 1u);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windowsBefore);
}

TEST_F(PlotWindowControllerTest, AScriptFileTitlesItsWindow) {
    const QString path = writeFile(folder, "damped pair.js", twoParameterScript);
    auto controller =
        KNPlotWindowController::initWithContentsOfURL(QUrl::fromLocalFile(path), alerts);
    ASSERT_TRUE(controller);
    EXPECT_EQ(controller->title(), "damped pair.js");
    EXPECT_EQ(controller->window()->windowTitle(), "damped pair.js");
    EXPECT_TRUE(controller->hasScriptEngine());
}

TEST_F(PlotWindowControllerTest, TheDelayedUpdateKeepsTheControllerUntilItHasRun) {
    std::weak_ptr<KNPlotWindowController> watched;
    {
        auto controller = lorenzWindow();
        controller->showWindow();
        watched = controller;
    }
    EXPECT_FALSE(watched.expired());
    EXPECT_TRUE(eventually([&] { return watched.expired(); }));
}

} // namespace
