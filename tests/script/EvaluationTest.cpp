#include "EngineTestSupport.h"
#include "KNDefinitions.h"
#include "RK4Integrator.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <unistd.h>

namespace {

using kinora::Vector3;

bool sameBits(Vector3 a, Vector3 b) {
    return std::memcmp(&a, &b, sizeof(Vector3)) == 0;
}

// A system of count parameters with the given values, evaluated by the shared callback.
struct ScriptSystem {
    kinora::RK4Integrator integrator{0.01};
    KinoraSystem system;

    explicit ScriptSystem(std::vector<double> values, EvolutionFunction f = nullptr)
        : system(f ? f : KNJavascriptEngine::integrable(), &integrator,
                 static_cast<int>(values.size())) {
        for (std::size_t i = 0; i < values.size(); ++i) {
            system.parameters[i].setValue(values[i]);
        }
    }
};

Vector3 evaluate(KNJavascriptEngine& engine, const std::vector<double>& values, Vector3 state,
                 KNError* error = nullptr) {
    const ScriptSystem script(values);
    engine.makeCurrentEngineOrError(error);
    engine.prepareToEvaluateSystem(script.system, error);
    return KNJavascriptEngine::integrable()(0.0, script.system.parameters, state);
}

void expectAllNaN(Vector3 v) {
    EXPECT_TRUE(std::isnan(v.x) && std::isnan(v.y) && std::isnan(v.z))
        << v.x << " " << v.y << " " << v.z;
}

TEST(ScriptEvaluation, LorenzScriptMatchesTheBuiltInBitForBit) {
    const auto engine = loaded(lorenzScript);
    const std::vector<double> values{28.0, 10.0, 8.0 / 3.0};
    const ScriptSystem builtIn(values, lorenz);
    engine->makeCurrentEngineOrError();
    engine->prepareToEvaluateSystem(builtIn.system);
    const EvolutionFunction script = KNJavascriptEngine::integrable();
    for (const Vector3 state : {Vector3(1, 1, 1), Vector3(-0.1, 1e-300, 3e8), Vector3(0, 0, 0),
                                Vector3(1.0 / 3.0, -2.75, 41.5)}) {
        EXPECT_TRUE(sameBits(script(0, {}, state), lorenz(0, builtIn.system.parameters, state)));
    }

    ScriptSystem scripted(values);
    Vector3 viaScript(1, 1, 1), viaBuiltIn(1, 1, 1);
    for (int i = 0; i < 1000; ++i) {
        viaScript = scripted.system.advance(i * 0.01, viaScript);
        viaBuiltIn = builtIn.system.advance(i * 0.01, viaBuiltIn);
        ASSERT_TRUE(sameBits(viaScript, viaBuiltIn)) << "step " << i;
    }
}

TEST(ScriptEvaluation, EvolutionReceivesTheParameterArrayAndTheState) {
    const auto engine = loaded(
        "var parameters = []; function evolution(p, x, y, z) {"
        "  return [Array.isArray(p) ? p.length : -1, arguments.length, x + 10 * y + 100 * z];"
        "}");
    const Vector3 empty = evaluate(*engine, {}, {1, 2, 3});
    EXPECT_EQ(empty.x, 0);
    EXPECT_EQ(empty.y, 4);
    EXPECT_EQ(empty.z, 321);
    EXPECT_EQ(evaluate(*engine, {5, 6}, {0, 0, 0}).x, 2);

    // Before any parameter values are handed over the script sees an empty array.
    const auto fresh = loaded("var parameters = []; function evolution(p) { return [p.length]; }");
    fresh->makeCurrentEngineOrError();
    EXPECT_EQ(KNJavascriptEngine::integrable()(0, {}, {}).x, 0);
}

TEST(ScriptEvaluation, TwoEnginesEachSeeTheirOwnParametersAndFunction) {
    const auto sum = loaded("var parameters = ['a']; function evolution(p, x) { return [p[0] + x, "
                            "1, 1]; }");
    const auto product = loaded("var parameters = ['a', 'b']; function evolution(p, x) { return "
                                "[p[0] * p[1] * x, 2, 2]; }");
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(evaluate(*sum, {1.0 + round}, {10, 0, 0}).x, 11 + round);
        EXPECT_EQ(evaluate(*product, {2, 3.0 + round}, {10, 0, 0}).x, 60 + 20 * round);
    }
    // Switching back without new values keeps each engine's own last values.
    sum->makeCurrentEngineOrError();
    EXPECT_EQ(KNJavascriptEngine::integrable()(0, {}, {10, 0, 0}).x, 13);
    // Values handed to an engine that is not current do not reach the current one.
    const ScriptSystem other({100});
    product->prepareToEvaluateSystem(other.system);
    EXPECT_EQ(KNJavascriptEngine::integrable()(0, {}, {10, 0, 0}).x, 13);
}

TEST(ScriptEvaluation, ReassignedEvolutionTakesEffectWhenTheEngineIsMadeCurrent) {
    const auto engine = loaded("var parameters = [];"
                               "function evolution() {"
                               "  evolution = function () { return [2, 2, 2]; };"
                               "  return [1, 1, 1];"
                               "}");
    const EvolutionFunction f = KNJavascriptEngine::integrable();
    engine->makeCurrentEngineOrError();
    EXPECT_EQ(f(0, {}, {}).x, 1);
    EXPECT_EQ(f(0, {}, {}).x, 1);
    engine->makeCurrentEngineOrError();
    EXPECT_EQ(f(0, {}, {}).x, 2);
}

TEST(ScriptEvaluation, AnEvolutionThatIsNoLongerAFunctionIsReportedAndYieldsNaN) {
    const auto engine = loaded("var parameters = []; function evolution() { evolution = 7; }");
    KNError error;
    engine->makeCurrentEngineOrError(&error);
    KNJavascriptEngine::integrable()(0, {}, {});
    engine->makeCurrentEngineOrError(&error);
    EXPECT_EQ(error.failureReason, "'evolution' is not a function");
    expectAllNaN(KNJavascriptEngine::integrable()(0, {}, {}));

    const auto getter = loaded("var parameters = []; this.evolution = function () {"
                               "  Object.defineProperty(this, 'evolution', {get() {"
                               "    throw new Error('gone'); }});"
                               "};");
    getter->makeCurrentEngineOrError();
    KNJavascriptEngine::integrable()(0, {}, {});
    error = {};
    getter->makeCurrentEngineOrError(&error);
    EXPECT_EQ(error.failureReason, "gone");
    expectAllNaN(KNJavascriptEngine::integrable()(0, {}, {}));
}

TEST(ScriptEvaluation, UnreadableResultsGiveNaNComponentsAndEvaluationGoesOn) {
    const auto engine = loaded("var parameters = ['mode'];"
                               "function evolution(p) {"
                               "  switch (p[0]) {"
                               "  case 0: throw new Error('bad state');"
                               "  case 1: return undefined;"
                               "  case 2: return 5;"
                               "  case 3: return [1];"
                               "  case 4: return {0: 1, get 1() { throw 0; }, 2: 'x'};"
                               "  case 5: return '789';"
                               "  default: return [4, 5, 6];"
                               "  }"
                               "}");
    for (const double mode : {0, 1, 2}) {
        expectAllNaN(evaluate(*engine, {mode}, {}));
    }
    const Vector3 partial = evaluate(*engine, {3}, {});
    EXPECT_EQ(partial.x, 1);
    EXPECT_TRUE(std::isnan(partial.y) && std::isnan(partial.z));
    const Vector3 getters = evaluate(*engine, {4}, {});
    EXPECT_EQ(getters.x, 1);
    EXPECT_TRUE(std::isnan(getters.y) && std::isnan(getters.z));
    const Vector3 characters = evaluate(*engine, {5}, {});
    EXPECT_EQ(characters.x, 7);
    EXPECT_EQ(characters.z, 9);
    EXPECT_EQ(evaluate(*engine, {6}, {}).z, 6);

    // A whole trajectory through a throwing function completes with NaN states.
    ScriptSystem throwing({0});
    engine->prepareToEvaluateSystem(throwing.system);
    Vector3 state(1, 1, 1);
    for (int i = 0; i < 100; ++i) {
        state = throwing.system.advance(0, state);
    }
    expectAllNaN(state);
}

TEST(ScriptEvaluation, AnEvolutionThatNeverReturnsIsStoppedAndTheEngineStaysUsable) {
    const auto engine = loaded("var parameters = ['hang']; var calls = 0;"
                               "function evolution(p, x) {"
                               "  ++calls;"
                               "  while (p[0] > 0) {}"
                               "  return [x, calls, 3];"
                               "}");
    ScriptSystem hanging({1});
    engine->makeCurrentEngineOrError();
    // One seed's fan: ten sweep steps of 1000 RK4 steps each.
    for (int evolution = 0; evolution < 10; ++evolution) {
        engine->prepareToEvaluateSystem(hanging.system);
        Vector3 state(1, 1, 1);
        for (int i = 0; i < 1000; ++i) {
            state = hanging.system.advance(0, state);
        }
        expectAllNaN(state);
    }

    // One stopped call per sweep step: the rest of its 4000 calls are NaN without entering the
    // script, each of which would wait out the limit again.
    const Vector3 recovered = evaluate(*engine, {0}, {1, 0, 0});
    EXPECT_EQ(recovered.x, 1);
    EXPECT_EQ(recovered.y, 10 + 1);
    EXPECT_EQ(recovered.z, 3);
}

TEST(ScriptEvaluation, FailuresWhileSettingValuesAreReportedAndTheRestIsSet) {
    const auto engine =
        loaded("var parameters = ['a', 'b'];"
               "Object.defineProperty(Array.prototype, '0', {"
               "  set(v) { throw new Error('no first value'); }, configurable: true});"
               "function evolution(p) { return [p[0], p[1], p.length]; }");
    KNError error;
    const Vector3 v = evaluate(*engine, {1, 2}, {}, &error);
    EXPECT_EQ(error.failureReason, "no first value");
    EXPECT_TRUE(std::isnan(v.x));
    EXPECT_EQ(v.y, 2);
    EXPECT_EQ(v.z, 2);
}

TEST(ScriptEvaluation, AnEngineThatGoesWhileCurrentLeavesNaNBehind) {
    loaded(lorenzScript)->makeCurrentEngineOrError();
    expectAllNaN(KNJavascriptEngine::integrable()(0, {}, {1, 1, 1}));
}

long residentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

TEST(ScriptEvaluation, RepeatedParameterHandOversDoNotGrowMemory) {
    const auto engine = loaded(lorenzScript);
    ScriptSystem script({28, 10, 8.0 / 3.0});
    engine->makeCurrentEngineOrError();
    const auto handOver = [&](int count) {
        for (int i = 0; i < count; ++i) {
            script.system.parameters[0].setValue(i);
            engine->prepareToEvaluateSystem(script.system);
        }
    };
    // The script heap settles within the first 200000; a leaked array per call would add
    // about 20 MB per 100000.
    handOver(200000);
    const long before = residentKilobytes();
    handOver(100000);
    EXPECT_LT(residentKilobytes() - before, 8192);
    EXPECT_EQ(KNJavascriptEngine::integrable()(0, {}, {1, 1, 1}).y, 100000 - 1 - 1 - 1);
}

} // namespace
