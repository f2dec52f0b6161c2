// The fan computation the window runs: one seed's fan, and one edit re-sweeping 100 seeds, of
// examples/lorenz.js integrated inside the script engine, against the built-in Lorenz; and the
// 100-seed edit on the window's workers, one per core, against the same on a single worker.
#include "KNDefinitions.h"
#include "KNFanWorkerTools.h"
#include "KNJavascriptEngine.h"
#include "KNScriptPathDriver.h"
#include "LorenzFan.h"
#include "ParallelFans.h"
#include "RK4Integrator.h"
#include "RatioRegistry.h"
#include "SeedFan.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

using namespace lorenzFan;

constexpr int resweepSeeds = 100;

std::string exampleScript() {
    std::ifstream file(KINORA_SOURCE_DIR "/examples/lorenz.js");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

kinora::Vector3 seedNumber(int k) {
    return seed + kinora::Vector3(0.1 * k, -0.05 * k, 0.02 * k);
}

// A window's system with its path driver: built in, or examples/lorenz.js.
class FanSystem {
public:
    explicit FanSystem(bool script)
        : engine(script ? KNJavascriptEngine::initWithSourceString(exampleScript()) : nullptr),
          integrator(step),
          system(script ? KNJavascriptEngine::integrable() : lorenz, &integrator, 3) {
        if (script && !engine) {
            std::fprintf(stderr, "examples/lorenz.js does not load\n");
            std::exit(1);
        }
        driver = engine ? std::unique_ptr<kinora::PathDriver>(new KNScriptPathDriver(*engine))
                        : makePathDriver(lorenz);
        setSweep(system);
    }
    void compute(kinora::SeedFan& fan, kinora::Vector3 from) {
        fan.compute(system, *driver, from, evolutions, vertexCount());
    }

private:
    std::shared_ptr<KNJavascriptEngine> engine;
    kinora::RK4Integrator integrator;
    KinoraSystem system;
    std::unique_ptr<kinora::PathDriver> driver;
};

// The floor is only meaningful if it computes exactly what the program does.
void checkSameResults() {
    FanSystem script(true), builtIn(false);
    kinora::SeedFan viaScript, viaBuiltIn;
    for (int k = 0; k < 3; ++k) {
        script.compute(viaScript, seedNumber(k));
        builtIn.compute(viaBuiltIn, seedNumber(k));
        for (int m = 0; m < evolutions; ++m) {
            const std::vector<double>& a = viaScript.path(m).states;
            const std::vector<double>& b = viaBuiltIn.path(m).states;
            if (a.size() != b.size() ||
                std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) != 0) {
                std::fprintf(stderr, "seed %d, evolution %d: the script fan differs\n", k, m);
                std::exit(1);
            }
        }
    }
}

void BM_Fan(benchmark::State& state) {
    FanSystem system(state.range(0) != 0);
    kinora::SeedFan fan;
    for (auto _ : state) {
        system.compute(fan, seed);
        benchmark::DoNotOptimize(fan.path(0).vertices.data());
    }
}

void BM_Resweep(benchmark::State& state) {
    FanSystem system(state.range(0) != 0);
    kinora::SeedFan fan;
    for (auto _ : state) {
        for (int k = 0; k < resweepSeeds; ++k) {
            system.compute(fan, seedNumber(k));
            benchmark::DoNotOptimize(fan.path(0).vertices.data());
        }
    }
}

// Range 0: script, 1: workers (0 for one per core).
void BM_ParallelEdit(benchmark::State& state) {
    const bool script = state.range(0) != 0;
    const int threads =
        state.range(1) == 0 ? kinora::ParallelFans::coreCount() : static_cast<int>(state.range(1));
    KinoraSystem sweep(lorenz, nullptr, 3);
    setSweep(sweep);
    kinora::ParallelFans fans(
        fanWorkerTools(script ? KNJavascriptEngine::integrable() : lorenz, 3,
                       script ? std::optional<std::string>(exampleScript()) : std::nullopt),
        threads);
    const auto edit = [&] {
        for (int k = 0; k < resweepSeeds; ++k) {
            fans.submit({seedNumber(k), evolutions, vertexCount(), sweep.parameters, step});
        }
        fans.deliver(
            [](std::uint64_t, const kinora::SeedFan& fan, std::int32_t from, std::int32_t to,
               bool) {
                if (to > from) {
                    benchmark::DoNotOptimize(fan.path(from).vertices.data());
                }
                return true;
            },
            kinora::ParallelFans::Clock::time_point::max());
    };
    // Every worker has made its engine before the clock runs.
    edit();
    for (auto _ : state) {
        edit();
    }
}

// The workers give every fan the bits of computing it alone.
void checkParallelResults() {
    for (const bool script : {false, true}) {
        FanSystem alone(script);
        KinoraSystem sweep(lorenz, nullptr, 3);
        setSweep(sweep);
        kinora::ParallelFans fans(
            fanWorkerTools(script ? KNJavascriptEngine::integrable() : lorenz, 3,
                           script ? std::optional<std::string>(exampleScript()) : std::nullopt),
            kinora::ParallelFans::coreCount());
        std::vector<std::uint64_t> tickets;
        for (int k = 0; k < 8; ++k) {
            tickets.push_back(
                fans.submit({seedNumber(k), evolutions, vertexCount(), sweep.parameters, step}));
        }
        kinora::SeedFan reference;
        std::size_t next = 0;
        fans.deliver(
            [&](std::uint64_t ticket, const kinora::SeedFan& fan, std::int32_t from,
                std::int32_t to, bool complete) {
                const int k = static_cast<int>(next);
                alone.compute(reference, seedNumber(k));
                for (std::int32_t m = from; m < to; ++m) {
                    if (ticket != tickets[next] || fan.path(m).states != reference.path(m).states) {
                        std::fprintf(stderr, "seed %d, evolution %d: the workers differ\n", k, m);
                        std::exit(1);
                    }
                }
                next += complete ? 1 : 0;
                return true;
            },
            kinora::ParallelFans::Clock::time_point::max());
    }
}

BENCHMARK(BM_Fan)->ArgName("script")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Resweep)->ArgName("script")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParallelEdit)
    ->ArgNames({"script", "workers"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

const RatioRegistration fanRatio({"script fan / built-in fan", "BM_Fan/script:1", "BM_Fan/script:0",
                                  1.5},
                                 checkSameResults);
const RatioRegistration resweepRatio({"script 100-seed re-sweep / built-in 100-seed re-sweep",
                                      "BM_Resweep/script:1", "BM_Resweep/script:0", 1.5},
                                     nullptr);

const RatioRegistration parallelBuiltIn({"100-seed edit compute, all cores / one core, built-in",
                                         "BM_ParallelEdit/script:0/workers:0/real_time",
                                         "BM_ParallelEdit/script:0/workers:1/real_time",
                                         1.2 / kinora::ParallelFans::coreCount()},
                                        checkParallelResults);
const RatioRegistration parallelScript({"100-seed edit compute, all cores / one core, script",
                                        "BM_ParallelEdit/script:1/workers:0/real_time",
                                        "BM_ParallelEdit/script:1/workers:1/real_time",
                                        1.2 / kinora::ParallelFans::coreCount()},
                                       nullptr);

} // namespace
