#include "EngineTestSupport.h"
#include "EulerIntegrator.h"
#include "KNDefinitions.h"
#include "KNScriptPathDriver.h"
#include "RK4Integrator.h"
#include "SeedFan.h"
#include "SystemPathDriver.h"

#include <cmath>
#include <cstring>

namespace {

const std::string rosslerScript = R"(
var parameters = ["a", "b", "c"];
function evolution(p, x, y, z) { return [(-y) - z, x + p[0] * y, p[1] + z * (x - p[2])]; }
)";

// The built-ins a script could replace; the driver must not depend on any of them.
const std::string hostileLorenzScript = R"(
var parameters = ["rho", "sigma", "beta"];
function evolution(p, x, y, z) {
    return [p[1] * (y - x), x * (p[0] - z) - y, x * y - p[2] * z];
}
Array = Number = Float64Array = Math = Object = Function = undefined;
)";

struct ScriptFan {
    std::shared_ptr<KNJavascriptEngine> engine;
    KNScriptPathDriver driver;
    kinora::RK4Integrator integrator{0.01};
    KinoraSystem system;
    kinora::SeedFan fan;

    explicit ScriptFan(const std::string& source, int parameters = 3)
        : engine(loaded(source)), driver(*engine),
          system(KNJavascriptEngine::integrable(), &integrator, parameters) {}
    const kinora::SeedFan& compute(int evolutions = 10, std::int32_t count = 1000) {
        fan.compute(system, driver, {1, 1, 1}, evolutions, count);
        return fan;
    }
};

void sweep(KinoraSystem& system, std::vector<std::pair<double, double>> ends) {
    for (std::size_t i = 0; i < ends.size(); ++i) {
        system.parameters[i].setMin(ends[i].first);
        system.parameters[i].setMax(ends[i].second);
    }
}

void expectSameBits(const kinora::SeedFan& a, const kinora::SeedFan& b) {
    ASSERT_EQ(a.evolutionCount(), b.evolutionCount());
    for (std::int32_t m = 0; m < a.evolutionCount(); ++m) {
        EXPECT_EQ(std::memcmp(a.path(m).states.data(), b.path(m).states.data(),
                              a.path(m).states.size() * sizeof(double)),
                  0)
            << "evolution " << m;
    }
}

TEST(ScriptFan, GivesTheBitsOfTheBuiltInSystemsThroughTheSystemRecord) {
    const struct {
        const std::string* source;
        EvolutionFunction builtIn;
        std::vector<std::pair<double, double>> ends;
    } systems[] = {
        {&lorenzScript, lorenz, {{10, 28}, {10, 10}, {8.0 / 3.0, 8.0 / 3.0}}},
        {&hostileLorenzScript, lorenz, {{10, 28}, {10, 10}, {8.0 / 3.0, 8.0 / 3.0}}},
        {&rosslerScript, rossler, {{0.1, 0.2}, {0.2, 0.2}, {5.7, 9}}},
    };
    for (const auto& each : systems) {
        ScriptFan script(*each.source);
        sweep(script.system, each.ends);
        kinora::RK4Integrator integrator{0.01};
        KinoraSystem builtIn(each.builtIn, &integrator, 3);
        sweep(builtIn, each.ends);
        kinora::SystemPathDriver stepping;
        kinora::SeedFan expected;
        expected.compute(builtIn, stepping, {1, 1, 1}, 10, 1000);
        expectSameBits(script.compute(), expected);
        EXPECT_FALSE(script.fan.path(9).outcome.firstNonFiniteIndex);
    }
}

TEST(ScriptFan, GivesTheBitsOfThePerStageCallbackWhenOneCoordinateTurnsNaN) {
    ScriptFan script("var parameters = [];"
                     "function evolution(p, x, y, z) { return [Math.sqrt(x - 20), 1, -z]; }",
                     0);
    // Long enough for the engine to compile the driver and inline `evolution`.
    script.fan.compute(script.system, script.driver, {10, 0, 1}, 1, 2000);
    // The engine the driver left current answers the per-stage callback.
    kinora::SystemPathDriver perStage;
    kinora::SeedFan expected;
    expected.compute(script.system, perStage, {10, 0, 1}, 1, 2000);
    expectSameBits(script.fan, expected);
    const kinora::FanPath& path = script.fan.path(0);
    EXPECT_TRUE(std::isnan(path.states[297]));
    EXPECT_DOUBLE_EQ(path.states[298], 1.0);
    EXPECT_GT(path.states[299], 0.0);
}

TEST(ScriptFan, EulerStillStepsThroughTheSharedCallback) {
    ScriptFan script(lorenzScript);
    sweep(script.system, {{28, 28}, {10, 10}, {8.0 / 3.0, 8.0 / 3.0}});
    kinora::EulerIntegrator euler(0.01);
    script.system.integrator = &euler;
    const kinora::FanPath& path = script.compute(1, 1).path(0);
    EXPECT_EQ(path.states[0], 1.0);
    EXPECT_DOUBLE_EQ(path.states[1], 1.26);
}

TEST(ScriptFan, FaultyEvolutionsGiveNaNPathsSaySoAndLeaveTheEngineUsable) {
    const struct {
        const char* body;
        std::int32_t nonFiniteFrom;
        bool stopped;
        const char* error;
    } cases[] = {
        {"if (x > 1.5025) throw new Error('too far'); return [1, 0, 0];", 50, false, "too far"},
        {"return 'junk';", 0, false, ""},
        {"return null;", 0, false, "null is not an object (evaluating 'r[0]')"},
        {"function deeper() { return deeper() + 1; } return [deeper(), 0, 0];", 0, false,
         "Maximum call stack size exceeded."},
        // Each level as slow as a plain recursion on a machine many times slower: it still ends
        // at the stack's limit, not at the step limit.
        {"function deeper() { for (var i = 0, s = 0; i < 200; ++i) s += i % 3;"
         "                    return deeper() + s; }"
         "return [deeper(), 0, 0];",
         0, false, "Maximum call stack size exceeded."},
        // Deep down, a loop without end is stopped all the same.
        {"function deeper() { try { return deeper() + 1; } catch (e) { for (;;) {} } }"
         "return [deeper(), 0, 0];",
         0, true, ""},
        {"for (;;) {}", 0, true, ""},
        {"if (x > 1.5025) for (;;) {} return [1, 0, 0];", 50, true, ""},
    };
    for (const auto& each : cases) {
        ScriptFan script(std::string("var parameters = []; function evolution(p, x, y, z) {") +
                             each.body + "}",
                         0);
        const kinora::SeedFan& fan = script.compute();
        kinora::RecomputationOutcome summary;
        for (std::int32_t m = 0; m < 10; ++m) {
            const kinora::FanPath& path = fan.path(m);
            summary.add(path.outcome);
            EXPECT_EQ(path.outcome.firstNonFiniteIndex, each.nonFiniteFrom) << each.body;
            EXPECT_TRUE(std::isnan(path.states.back())) << each.body;
            EXPECT_TRUE(std::isnan(path.vertices.back().position[0])) << each.body;
        }
        EXPECT_EQ(summary.stoppedPaths, each.stopped ? 10 : 0) << each.body;
        if (*each.error) {
            EXPECT_EQ(summary.firstError, each.error) << each.body;
        }
        // The engine still answers afterwards.
        EXPECT_EQ(script.engine->parameterNamesOrError()->size(), 0u) << each.body;
    }
}

TEST(ScriptFan, EvolutionReassignedInsideTakesEffectAtTheNextFan) {
    ScriptFan script("var parameters = [];"
                     "function evolution() {"
                     "  evolution = function () { return [2, 0, 0]; };"
                     "  return [1, 0, 0];"
                     "}",
                     0);
    EXPECT_DOUBLE_EQ(script.compute(1, 100).path(0).states[297], 1 + 100 * 0.01);
    EXPECT_DOUBLE_EQ(script.compute(1, 100).path(0).states[297], 1 + 100 * 0.02);
}

TEST(ScriptFan, FansInterleavedSliceBySliceKeepTheirOwnFunctionAndValues) {
    ScriptFan lorenzFan(lorenzScript), rosslerFan(rosslerScript);
    sweep(lorenzFan.system, {{10, 28}, {10, 10}, {8.0 / 3.0, 8.0 / 3.0}});
    sweep(rosslerFan.system, {{0.1, 0.2}, {0.2, 0.2}, {5.7, 9}});
    // An export beside the window: another fan through the window's engine, its own sweep.
    KinoraSystem exportSystem = lorenzFan.system;
    sweep(exportSystem, {{28, 40}, {3, 12}, {1, 2}});
    KNScriptPathDriver exportDriver(*lorenzFan.engine);
    kinora::SeedFan lorenzWhole, rosslerWhole, exportWhole, exportFan;
    lorenzWhole.compute(lorenzFan.system, lorenzFan.driver, {1, 1, 1}, 4, 500);
    rosslerWhole.compute(rosslerFan.system, rosslerFan.driver, {1, 1, 1}, 4, 500);
    exportWhole.compute(exportSystem, exportDriver, {1, 1, 1}, 4, 500);

    lorenzFan.fan.start({1, 1, 1}, 4, 500);
    rosslerFan.fan.start({1, 1, 1}, 4, 500);
    exportFan.start({1, 1, 1}, 4, 500);
    bool lorenzDone = false, rosslerDone = false, exportDone = false;
    while (!lorenzDone || !rosslerDone || !exportDone) {
        lorenzDone = lorenzFan.fan.advance(lorenzFan.system, lorenzFan.driver, 70);
        rosslerDone = rosslerFan.fan.advance(rosslerFan.system, rosslerFan.driver, 70);
        exportDone = exportFan.advance(exportSystem, exportDriver, 70);
    }
    expectSameBits(lorenzFan.fan, lorenzWhole);
    expectSameBits(rosslerFan.fan, rosslerWhole);
    expectSameBits(exportFan, exportWhole);
}

} // namespace
