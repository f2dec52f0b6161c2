#include "OrbitDiagram.h"

#include "HermiteCubic.h"
#include "OrbitDiagramRun.h"
#include "PathDriver.h"
#include "RK4Integrator.h"
#include "SeedFan.h"
#include "SystemPathDriver.h"
#include "Trajectory.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kinora {

namespace {

// Steps integrated per call of the driver.
constexpr std::int32_t chunkSteps = 4096;

double component(Vector3 v, int i) {
    return i == 0 ? v.x : (i == 1 ? v.y : v.z);
}

// The largest value of variable k over the steps from `before` through `middle` to `after`,
// whose middle sample is the largest of the three: the peak of the Hermite cubic of the step
// on which the variable's derivative turns negative.
double peakValue(const KinoraSystem& system, int k, Vector3 before, Vector3 middle, Vector3 after,
                 double h) {
    const auto slope = [&](Vector3 x) {
        return h * component(system.evolution(0.0, system.parameters, x), k);
    };
    const double atMiddle = slope(middle);
    const Vector3 from = atMiddle > 0.0 ? middle : before;
    const Vector3 to = atMiddle > 0.0 ? after : middle;
    const HermiteCubic cubic{component(from, k), component(to, k),
                             atMiddle > 0.0 ? atMiddle : slope(before),
                             atMiddle > 0.0 ? slope(after) : atMiddle};
    if (!(cubic.m0 > 0.0 && cubic.m1 <= 0.0)) {
        return component(middle, k);
    }
    return std::max(cubic.value(cubic.peak()), component(middle, k));
}

} // namespace

OrbitDiagram::OrbitDiagram(const KinoraSystem& system, OrbitDiagramSettings settings,
                           DriverFactory makeDriver)
    : parameters(system.parameters), evolution(system.evolution),
      step(system.integrator->integrationStep()), _settings(settings),
      makeDriver(std::move(makeDriver)) {}

OrbitColumn OrbitDiagram::column(std::int32_t k) const {
    RK4Integrator integrator(step);
    KinoraSystem system(evolution, &integrator, 0);
    system.parameters = parameters;
    OrbitColumn result;
    result.s = sweepFraction(k, _settings.resolution);
    setParametersAtSweepFraction(system, result.s);
    const std::unique_ptr<PathDriver> driver =
        makeDriver ? makeDriver() : std::make_unique<SystemPathDriver>();
    result.error = driver->beginFan();
    if (result.error.empty()) {
        result.error = driver->beginEvolution(system);
    }
    if (!result.error.empty()) {
        return result;
    }
    // The path goes through the driver a chunk at a time, so a column needs little memory.
    std::vector<double> chunk(3 * static_cast<std::size_t>(chunkSteps));
    PathCursor cursor{_settings.seed, 0.0, 0};
    Vector3 x = _settings.seed;
    // The state one step back, for the maxima; NaN before there is one.
    Vector3 before(NAN, NAN, NAN);
    const std::int64_t total =
        static_cast<std::int64_t>(_settings.transientSteps) + _settings.recordedSteps;
    for (std::int64_t done = 0; done < total;) {
        const auto count =
            static_cast<std::int32_t>(std::min<std::int64_t>(chunkSteps, total - done));
        std::fill(chunk.begin(), chunk.end(), NAN);
        EvolutionOutcome outcome;
        cursor.index = 0;
        driver->advance(system, cursor, count, chunk.data(), outcome);
        if (outcome.stopped || !outcome.error.empty()) {
            result.error = outcome.error.empty()
                               ? "the system's evolution function ran too long and was stopped"
                               : outcome.error;
            return result;
        }
        for (std::int32_t i = 0; i < count; ++i, ++done) {
            const double* state = chunk.data() + 3 * static_cast<std::size_t>(i);
            const Vector3 next(state[0], state[1], state[2]);
            if (!hasFiniteCoordinates(next)) {
                result.leftFiniteRange = true;
                return result;
            }
            if (done >= _settings.transientSteps) {
                record(system, before, x, next, &result);
            }
            before = x;
            x = next;
        }
    }
    return result;
}

void OrbitDiagram::record(const KinoraSystem& system, Vector3 before, Vector3 x, Vector3 next,
                          OrbitColumn* column) const {
    const int plotted = _settings.plotted;
    if (_settings.quantity == OrbitQuantity::sectionCrossings) {
        if (const auto crossing = _settings.section.crossingWithinStep(system, x, next, 0.0)) {
            column->values.push_back(component(crossing->state, plotted));
        }
    } else if (component(before, plotted) < component(x, plotted) &&
               component(x, plotted) >= component(next, plotted)) {
        column->values.push_back(peakValue(system, plotted, before, x, next, step));
    }
}

std::vector<OrbitColumn> OrbitDiagram::columns(std::int32_t first, std::int32_t end,
                                               int threads) const {
    std::vector<OrbitColumn> result(static_cast<std::size_t>(std::max(end - first, 0)));
    if (threads <= 1) {
        for (std::int32_t k = first; k < end; ++k) {
            result[static_cast<std::size_t>(k - first)] = column(k);
        }
        return result;
    }
    OrbitDiagramRun run(*this, first, end, threads);
    run.waitUntilComplete(OrbitDiagramRun::Clock::time_point::max());
    for (auto& [k, computed] : run.takeCompleted()) {
        result[static_cast<std::size_t>(k - first)] = std::move(computed);
    }
    return result;
}

} // namespace kinora
