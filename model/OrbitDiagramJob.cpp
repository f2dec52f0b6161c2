#include "OrbitDiagramJob.h"

#include "Exploration.h"
#include "KNDefinitions.h"
#include "KNJavascriptEngine.h"
#include "KNScriptPathDriver.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace kinora {

namespace {

// A script's driver with the engine it drives, made for one column on the thread computing it.
class OwnEngineDriver final : public PathDriver {
public:
    explicit OwnEngineDriver(std::shared_ptr<KNJavascriptEngine> engine)
        : engine(std::move(engine)), driver(*this->engine) {}

    std::string beginFan() override { return driver.beginFan(); }
    std::string beginEvolution(const KinoraSystem& system) override {
        return driver.beginEvolution(system);
    }
    bool advance(const KinoraSystem& system, PathCursor& cursor, std::int32_t count, double* states,
                 EvolutionOutcome& outcome) override {
        return driver.advance(system, cursor, count, states, outcome);
    }

private:
    std::shared_ptr<KNJavascriptEngine> engine;
    KNScriptPathDriver driver;
};

// A script that loaded on the window's thread but not on a worker's.
class RefusingDriver final : public PathDriver {
public:
    explicit RefusingDriver(std::string reason) : reason(std::move(reason)) {}
    std::string beginFan() override { return reason; }
    std::string beginEvolution(const KinoraSystem&) override { return {}; }
    bool advance(const KinoraSystem&, PathCursor&, std::int32_t, double*,
                 EvolutionOutcome&) override {
        return false;
    }

private:
    std::string reason;
};

std::int32_t stepsOf(double time, double step) {
    return static_cast<std::int32_t>(std::floor(time / step));
}

} // namespace

OrbitDiagramJob::OrbitDiagramJob(const Exploration& exploration,
                                 const AnalysisPanelSettings& analysis)
    : _threads(std::max(1, static_cast<int>(std::thread::hardware_concurrency()))) {
    const double step = exploration.integrator().integrationStep();
    const OrbitPanelSettings& panel = analysis.orbit;
    OrbitDiagramSettings settings;
    settings.resolution = panel.resolution;
    settings.seed = panel.seed;
    settings.transientSteps = stepsOf(panel.transientTime, step);
    settings.recordedSteps = stepsOf(panel.recordedTime, step);
    settings.quantity = panel.quantity;
    settings.section = analysis.section;
    settings.plotted = panel.variable;
    OrbitDiagram::DriverFactory makeDriver;
    if (const std::optional<std::string>& script = exploration.scriptText()) {
        makeDriver = [script = *script]() -> std::unique_ptr<PathDriver> {
            KNError error;
            auto engine = KNJavascriptEngine::initWithSourceString(script, &error);
            if (!engine) {
                return std::make_unique<RefusingDriver>(error.failureReason);
            }
            return std::make_unique<OwnEngineDriver>(std::move(engine));
        };
    } else {
        makeDriver = [evolution = exploration.system().evolution] {
            return makePathDriver(evolution);
        };
    }
    _diagram =
        std::make_unique<OrbitDiagram>(exploration.system(), settings, std::move(makeDriver));
}

} // namespace kinora
