// One seed's fan (10 evolutions x 1000 RK4 steps) of the Lorenz script through the engine's
// shared callback, against a bare loop of the same script calls made straight on the script API.
#include "ExecutionTimeLimit.h"
#include "HandWrittenRK4.h"
#include "KNJavascriptEngine.h"
#include "KinoraSystem.h"
#include "LorenzFan.h"
#include "RK4Integrator.h"
#include "RatioRegistry.h"
#include "ScriptContext.h"
#include "Trajectory.h"

#include <JavaScriptCore/JavaScript.h>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using namespace lorenzFan;

// The engine's limit for every call into a script.
constexpr double callTimeLimit = 0.010;

const char* const lorenzSource = R"(
var parameters = ["rho", "sigma", "beta"];
function evolution(p, x, y, z) {
    return [p[1] * (y - x), x * (p[0] - z) - y, x * y - p[2] * z];
}
)";

// What a recomputation of one seed does with a script system.
class EngineFan {
public:
    EngineFan()
        : engine(KNJavascriptEngine::initWithSourceString(lorenzSource)), integrator(step),
          system(KNJavascriptEngine::integrable(), &integrator, 3) {
        setSweep(system);
    }
    // afterEach(out, m) sees every evolution's path.
    template <class Sink> void compute(kinora::Trajectory& out, Sink&& afterEach) {
        engine->makeCurrentEngineOrError();
        for (int m = 0; m < evolutions; ++m) {
            kinora::setParametersAtSweepFraction(system, sweepFraction(m));
            engine->prepareToEvaluateSystem(system);
            out.integrate(system, seed, vertexCount());
            afterEach(out, m);
        }
    }

private:
    std::shared_ptr<KNJavascriptEngine> engine;
    kinora::RK4Integrator integrator;
    KinoraSystem system;
};

// The same calls with nothing in between: one context, the function and a four-slot argument
// array held in locals, RK4 written out.
class BareCalls {
public:
    explicit BareCalls(bool timeLimit)
        : context(owner.ref()), integrator(step), system(nullptr, &integrator, 3) {
        setSweep(system);
        if (timeLimit) {
            JSContextGroupSetExecutionTimeLimit(JSContextGetGroup(context), callTimeLimit, nullptr,
                                                nullptr);
        }
        JSStringRef source = JSStringCreateWithUTF8CString(lorenzSource);
        JSEvaluateScript(context, source, nullptr, nullptr, 0, nullptr);
        JSStringRelease(source);
        JSStringRef name = JSStringCreateWithUTF8CString("evolution");
        evolution = const_cast<JSObjectRef>(
            JSObjectGetProperty(context, JSContextGetGlobalObject(context), name, nullptr));
        JSStringRelease(name);
        JSValueProtect(context, evolution);
    }
    ~BareCalls() { JSValueUnprotect(context, evolution); }
    BareCalls(const BareCalls&) = delete;
    BareCalls& operator=(const BareCalls&) = delete;

    template <class Sink> void compute(kinora::Trajectory& out, Sink&& afterEach) {
        const std::int32_t count = vertexCount();
        out.vertices.resize(static_cast<size_t>(count));
        out.indices.resize(static_cast<size_t>(count));
        for (int m = 0; m < evolutions; ++m) {
            kinora::setParametersAtSweepFraction(system, sweepFraction(m));
            JSValueRef values[3];
            for (int i = 0; i < 3; ++i) {
                values[i] = JSValueMakeNumber(context, system.parameter(i).value());
            }
            JSValueRef arguments[4] = {JSObjectMakeArray(context, 3, values, nullptr)};
            integrate(out, arguments, count);
            afterEach(out, m);
        }
    }

private:
    kinora::Vector3 derivative(JSValueRef* arguments, kinora::Vector3 v) {
        arguments[1] = JSValueMakeNumber(context, v.x);
        arguments[2] = JSValueMakeNumber(context, v.y);
        arguments[3] = JSValueMakeNumber(context, v.z);
        const JSObjectRef result = const_cast<JSObjectRef>(
            JSObjectCallAsFunction(context, evolution, nullptr, 4, arguments, nullptr));
        return {JSValueToNumber(context, JSObjectGetPropertyAtIndex(context, result, 0, nullptr),
                                nullptr),
                JSValueToNumber(context, JSObjectGetPropertyAtIndex(context, result, 1, nullptr),
                                nullptr),
                JSValueToNumber(context, JSObjectGetPropertyAtIndex(context, result, 2, nullptr),
                                nullptr)};
    }

    void integrate(kinora::Trajectory& out, JSValueRef* arguments, std::int32_t count) {
        handWrittenRK4Path(out, seed, count, step, [this, arguments](kinora::Vector3 v) {
            return derivative(arguments, v);
        });
    }

    // The program's own context, so the engine's options are set before it.
    kinora::ScriptContext owner;
    JSGlobalContextRef context;
    JSObjectRef evolution;
    kinora::RK4Integrator integrator;
    KinoraSystem system;
};

void keep(const kinora::Trajectory& out, int) {
    benchmark::DoNotOptimize(out.vertices.data());
}

// The floor is only meaningful if it computes exactly what the program does.
void checkSameResults() {
    EngineFan fan;
    BareCalls bare(true);
    std::vector<kinora::Trajectory> viaEngine(evolutions);
    kinora::Trajectory out;
    fan.compute(out, [&](const kinora::Trajectory& path, int m) { viaEngine[m] = path; });
    bare.compute(out, [&](const kinora::Trajectory& path, int m) {
        if (!sameBits(viaEngine[m], path)) {
            std::fprintf(stderr, "evolution %d: the bare script calls differ from the engine's\n",
                         m);
            std::exit(1);
        }
    });
}

void BM_ScriptFanThroughEngine(benchmark::State& state) {
    EngineFan fan;
    kinora::Trajectory out;
    for (auto _ : state) {
        fan.compute(out, keep);
        benchmark::ClobberMemory();
    }
    state.counters["calls"] = evolutions * 4.0 * vertexCount();
}

void BM_ScriptFanBareCallsFloor(benchmark::State& state) {
    BareCalls bare(state.range(0) != 0);
    kinora::Trajectory out;
    for (auto _ : state) {
        bare.compute(out, keep);
        benchmark::ClobberMemory();
    }
    state.counters["calls"] = evolutions * 4.0 * vertexCount();
}

BENCHMARK(BM_ScriptFanThroughEngine)->Unit(benchmark::kMicrosecond);
// 1: with the engine's time limit, as the program runs; 0: without it, to show what it costs.
BENCHMARK(BM_ScriptFanBareCallsFloor)
    ->ArgName("timeLimit")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMicrosecond);

const RatioRegistration engineRatio({"one seed's script fan through the engine / bare script calls",
                                     "BM_ScriptFanThroughEngine",
                                     "BM_ScriptFanBareCallsFloor/timeLimit:1", 1.15},
                                    checkSameResults);

} // namespace
