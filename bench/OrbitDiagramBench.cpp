// An orbit diagram of 1000 parameter values of Lorenz, rho from 24 to 250, computed on every
// core against the same columns computed one after another on the calling thread.
#include "KNDefinitions.h"
#include "OrbitDiagram.h"
#include "RK4Integrator.h"
#include "RatioRegistry.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

int coreCount() {
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

class LorenzDiagram {
public:
    kinora::RK4Integrator integrator{0.01};
    KinoraSystem system{lorenz, &integrator, 3};

    kinora::OrbitDiagram diagram() {
        system.parameters = {kinora::Parameter("rho", 24.0, 24.0, 250.0),
                             kinora::Parameter("sigma", 10.0, 10.0, 10.0),
                             kinora::Parameter("beta", 8.0 / 3.0, 8.0 / 3.0, 8.0 / 3.0)};
        kinora::OrbitDiagramSettings settings;
        settings.resolution = 1000;
        settings.transientSteps = 1000;
        settings.recordedSteps = 2000;
        settings.section = kinora::PoincareSection(2, 150.0, kinora::CrossingDirection::increasing);
        settings.plotted = 0;
        return kinora::OrbitDiagram(system, settings);
    }
};

// The ratio only means something if the pool computes the very columns of one core.
void checkSameColumns() {
    LorenzDiagram lorenzDiagram;
    const kinora::OrbitDiagram diagram = lorenzDiagram.diagram();
    const auto alone = diagram.columns(0, 50, 1);
    const auto pooled = diagram.columns(0, 50, coreCount());
    for (std::size_t k = 0; k < alone.size(); ++k) {
        if (alone[k].values != pooled[k].values) {
            std::fprintf(stderr, "orbit diagram column %zu differs on %d threads\n", k,
                         coreCount());
            std::exit(1);
        }
    }
}

void BM_OrbitDiagram(benchmark::State& state) {
    LorenzDiagram lorenzDiagram;
    const kinora::OrbitDiagram diagram = lorenzDiagram.diagram();
    const int threads = state.range(0) == 0 ? coreCount() : 1;
    for (auto _ : state) {
        const auto columns = diagram.columns(0, diagram.settings().resolution, threads);
        benchmark::DoNotOptimize(columns.data());
    }
}

BENCHMARK(BM_OrbitDiagram)
    ->ArgName("oneCore")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

const RatioRegistration orbitRatio({"orbit diagram 1000 values, all cores / one core",
                                    "BM_OrbitDiagram/oneCore:0/real_time",
                                    "BM_OrbitDiagram/oneCore:1/real_time", 0.6},
                                   checkSameColumns);

} // namespace
