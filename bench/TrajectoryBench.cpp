// One seed's fan (10 evolutions x 1000 RK4 steps of Lorenz) as a window computes it for the
// built-in system, against a hand-written RK4 loop with the Lorenz formula inlined that writes
// the same states and vertices.
#include "HandWrittenRK4.h"
#include "KNDefinitions.h"
#include "KinoraSystem.h"
#include "LorenzFan.h"
#include "RK4Integrator.h"
#include "RatioRegistry.h"
#include "SeedFan.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

void inlineFan(HandWrittenPath& out, int m, std::int32_t count) {
    const LorenzValues p = sweep(m);
    handWrittenRK4Path(out, seed, count, step,
                       [&p](kinora::Vector3 v) { return inlineLorenz(p, v); });
}

class BuiltInFan {
public:
    BuiltInFan()
        : integrator(step), system(lorenz, &integrator, 3), driver(makePathDriver(lorenz)) {
        setSweep(system);
    }
    const kinora::SeedFan& compute() {
        fan.compute(system, *driver, seed, evolutions, vertexCount());
        return fan;
    }

private:
    kinora::RK4Integrator integrator;
    KinoraSystem system;
    std::unique_ptr<kinora::PathDriver> driver;
    kinora::SeedFan fan;
};

// The floor is only meaningful if it computes exactly what the program does.
void checkSameResults() {
    BuiltInFan builtIn;
    const kinora::SeedFan& fan = builtIn.compute();
    HandWrittenPath inlined;
    for (int m = 0; m < evolutions; ++m) {
        inlineFan(inlined, m, vertexCount());
        const kinora::FanPath& path = fan.path(m);
        if (path.states != inlined.states ||
            std::memcmp(path.vertices.data(), inlined.vertices.data(),
                        inlined.vertices.size() * sizeof(kinora::PathVertex)) != 0) {
            std::fprintf(stderr, "evolution %d: the inlined loop differs from the built-in fan\n",
                         m);
            std::exit(1);
        }
    }
}

void BM_BuiltInFan(benchmark::State& state) {
    BuiltInFan fan;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fan.compute().path(0).vertices.data());
        benchmark::ClobberMemory();
    }
}

void BM_FanInlinedFloor(benchmark::State& state) {
    HandWrittenPath out;
    const std::int32_t count = vertexCount();
    for (auto _ : state) {
        for (int m = 0; m < evolutions; ++m) {
            inlineFan(out, m, count);
            benchmark::DoNotOptimize(out.vertices.data());
        }
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_BuiltInFan)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FanInlinedFloor)->Unit(benchmark::kMicrosecond);

const RatioRegistration fanRatio({"built-in fan / inlined RK4 floor", "BM_BuiltInFan",
                                  "BM_FanInlinedFloor", 1.3},
                                 checkSameResults);

} // namespace
