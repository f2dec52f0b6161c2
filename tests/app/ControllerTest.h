#pragma once

#include "AppTestSupport.h"
#include "Eventually.h"
#include "KNDefinitions.h"
#include "KNPlotWindowController.h"
#include "RK4Integrator.h"
#include "RecordingAlertPresenter.h"
#include "Seed.h"
#include "Trajectory.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// Plot windows made the way the application makes them, with their alerts recorded, and the
// trajectories the core computes to compare them with.
class ControllerTest : public ::testing::Test {
protected:
    std::shared_ptr<RecordingAlertPresenter> alerts = std::make_shared<RecordingAlertPresenter>();
    QTemporaryDir folder;

    std::shared_ptr<KNPlotWindowController> lorenzWindow() {
        auto controller =
            KNPlotWindowController::initWithIntegrable(lorenz, {"rho", "sigma", "beta"}, alerts);
        controller->window();
        waitForRecomputation(*controller);
        return controller;
    }

    std::shared_ptr<KNPlotWindowController> scriptWindow(const char* source) {
        auto controller = KNPlotWindowController::initWithSourceString(source, alerts);
        if (controller) {
            controller->window();
            waitForRecomputation(*controller);
        }
        return controller;
    }

    // The opening recomputation runs from the event loop, once the window is there.
    static void waitForRecomputation(KNPlotWindowController& controller) {
        EXPECT_TRUE(eventually([&] { return !controller.isRecomputing(); }));
    }

    static Seed* firstSeed(KNPlotWindowController& controller) {
        return seedsOf(controller.plotView()).front();
    }

    // The trajectory the core computes for system at sweep fraction s from start.
    static kinora::Trajectory expectedTrajectory(KinoraSystem system, double step, double s,
                                                 kinora::Vector3 start) {
        kinora::RK4Integrator integrator(step);
        system.integrator = &integrator;
        kinora::setParametersAtSweepFraction(system, s);
        kinora::Trajectory trajectory;
        trajectory.integrate(system, start, *kinora::trajectoryVertexCount(10.0, step));
        return trajectory;
    }

    static void expectPath(const PathContents& path, const kinora::Trajectory& expected, float s) {
        ASSERT_EQ(path.vertices.size(), expected.vertices.size());
        EXPECT_EQ(path.indices, expected.indices);
        EXPECT_FLOAT_EQ(path.sValue, s);
        for (std::size_t i = 0; i < path.vertices.size(); i += 97) {
            for (int k = 0; k < 3; ++k) {
                EXPECT_EQ(path.vertices[i].position[k], expected.vertices[i].position[k]);
                EXPECT_EQ(path.vertices[i].displacement[k], expected.vertices[i].displacement[k]);
            }
        }
    }

    // Runs the event loop until the window's export has ended.
    static void waitForExport(KNPlotWindowController& controller) {
        ASSERT_TRUE(eventually([&] { return !controller.exportRunner().isRunning(); }));
    }

    void TearDown() override {
        QApplication::closeAllWindows();
        EXPECT_TRUE(plotWindowsGone());
    }
};
