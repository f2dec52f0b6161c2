// One seed's fan (10 evolutions x 1000 RK4 steps of Lorenz) through the system record,
// against a hand-written RK4 loop with the Lorenz formula inlined.
#include "HandWrittenRK4.h"
#include "KNDefinitions.h"
#include "KinoraSystem.h"
#include "LorenzFan.h"
#include "RK4Integrator.h"
#include "RatioRegistry.h"
#include "Trajectory.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace lorenzFan;

struct LorenzValues {
    double rho, sigma, beta;
};

LorenzValues sweep(int m) {
    const double s = sweepFraction(m);
    return {10.0 + (28.0 - 10.0) * s, 10.0, 8.0 / 3.0};
}

kinora::Vector3 inlineLorenz(const LorenzValues& p, kinora::Vector3 v) {
    return {(v.y - v.x) * p.sigma, v.x * (p.rho - v.z) - v.y, v.x * v.y - p.beta * v.z};
}

void inlineFan(kinora::Trajectory& out, int m, std::int32_t count) {
    const LorenzValues p = sweep(m);
    handWrittenRK4Path(out, seed, count, step,
                       [&p](kinora::Vector3 v) { return inlineLorenz(p, v); });
}

// The same loop calling lorenz through a plain function pointer: separates the cost of the
// call boundary every system needs from the cost of the system record and the virtual step.
void functionPointerFan(kinora::Trajectory& out, int m, std::int32_t count, EvolutionFunction f) {
    const LorenzValues values = sweep(m);
    const std::vector<kinora::Parameter> p = {kinora::Parameter(values.rho),
                                              kinora::Parameter(values.sigma),
                                              kinora::Parameter(values.beta)};
    handWrittenRK4Path(out, seed, count, step, [&p, f](kinora::Vector3 v) { return f(0, p, v); });
}

class SystemFan {
public:
    SystemFan() : integrator(step), system(lorenz, &integrator, 3) { setSweep(system); }
    void compute(kinora::Trajectory& out, int m) {
        kinora::setParametersAtSweepFraction(system, sweepFraction(m));
        out.integrate(system, seed, vertexCount());
    }

private:
    kinora::RK4Integrator integrator;
    KinoraSystem system;
};

// The floor is only meaningful if it computes exactly what the program does.
void checkSameResults() {
    SystemFan fan;
    kinora::Trajectory viaSystem, inlined, viaPointer;
    const std::int32_t count = vertexCount();
    for (int m = 0; m < evolutions; ++m) {
        fan.compute(viaSystem, m);
        inlineFan(inlined, m, count);
        functionPointerFan(viaPointer, m, count, lorenz);
        if (!sameBits(viaSystem, inlined) || !sameBits(viaSystem, viaPointer)) {
            std::fprintf(stderr, "evolution %d: the inlined loop differs from the system's\n", m);
            std::exit(1);
        }
    }
}

void BM_FanThroughSystem(benchmark::State& state) {
    SystemFan fan;
    kinora::Trajectory out;
    for (auto _ : state) {
        for (int m = 0; m < evolutions; ++m) {
            fan.compute(out, m);
            benchmark::DoNotOptimize(out.vertices.data());
        }
        benchmark::ClobberMemory();
    }
}

void BM_FanInlinedFloor(benchmark::State& state) {
    kinora::Trajectory out;
    const std::int32_t count = vertexCount();
    for (auto _ : state) {
        for (int m = 0; m < evolutions; ++m) {
            inlineFan(out, m, count);
            benchmark::DoNotOptimize(out.vertices.data());
        }
        benchmark::ClobberMemory();
    }
}

void BM_FanFunctionPointerOnly(benchmark::State& state) {
    kinora::Trajectory out;
    const std::int32_t count = vertexCount();
    // Read through a volatile so the compiler cannot see which function it calls.
    EvolutionFunction volatile opaque = lorenz;
    const EvolutionFunction f = opaque;
    for (auto _ : state) {
        for (int m = 0; m < evolutions; ++m) {
            functionPointerFan(out, m, count, f);
            benchmark::DoNotOptimize(out.vertices.data());
        }
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_FanThroughSystem)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FanInlinedFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FanFunctionPointerOnly)->Unit(benchmark::kMicrosecond);

const RatioRegistration fanRatio({"one seed's fan through KinoraSystem / inlined RK4 floor",
                                  "BM_FanThroughSystem", "BM_FanInlinedFloor", 1.3},
                                 checkSameResults);
const RatioRegistration
    callBoundaryRatio({"one seed's fan through KinoraSystem / RK4 calling lorenz by pointer",
                       "BM_FanThroughSystem", "BM_FanFunctionPointerOnly", 1.3},
                      nullptr);

} // namespace
