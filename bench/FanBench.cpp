// The fan computation the window runs: one seed's fan, and one edit re-sweeping 100 seeds, of
// examples/lorenz.js integrated inside the script engine, against the built-in Lorenz as windows
// compute it.
#include "KNDefinitions.h"
#include "KNJavascriptEngine.h"
#include "KNScriptPathDriver.h"
#include "LorenzFan.h"
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

BENCHMARK(BM_Fan)->ArgName("script")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Resweep)->ArgName("script")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

const RatioRegistration fanRatio({"script fan / built-in fan", "BM_Fan/script:1", "BM_Fan/script:0",
                                  1.5},
                                 checkSameResults);
const RatioRegistration resweepRatio({"script 100-seed re-sweep / built-in 100-seed re-sweep",
                                      "BM_Resweep/script:1", "BM_Resweep/script:0", 1.5},
                                     nullptr);

} // namespace
