#include "OrbitDiagram.h"

#include "HermiteCubic.h"
#include "PathDriver.h"
#include "RK4Integrator.h"
#include "SeedFan.h"
#include "Trajectory.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

namespace kinora {

namespace {

bool isFinite(Vector3 v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

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

OrbitDiagram::OrbitDiagram(const KinoraSystem& system, OrbitDiagramSettings settings)
    : parameters(system.parameters), evolution(system.evolution),
      step(system.integrator->integrationStep()), _settings(settings) {}

OrbitColumn OrbitDiagram::column(std::int32_t k) const {
    RK4Integrator integrator(step);
    KinoraSystem system(evolution, &integrator, 0);
    system.parameters = parameters;
    OrbitColumn result;
    result.s = sweepFraction(k, _settings.resolution);
    setParametersAtSweepFraction(system, result.s);
    Vector3 x = _settings.seed;
    double time = 0.0;
    for (std::int32_t i = 0; i < _settings.transientSteps && isFinite(x); ++i) {
        x = system.advance(time, x);
        time += pathTimeIncrement;
    }
    const int plotted = _settings.plotted;
    // The state one step back, for the maxima; NaN before there is one.
    Vector3 before(NAN, NAN, NAN);
    for (std::int32_t i = 0; i < _settings.recordedSteps; ++i) {
        if (!isFinite(x)) {
            result.leftFiniteRange = true;
            break;
        }
        const Vector3 next = system.advance(time, x);
        if (_settings.quantity == OrbitQuantity::sectionCrossings) {
            if (const auto crossing = _settings.section.crossingWithinStep(system, x, next, time)) {
                result.values.push_back(component(crossing->state, plotted));
            }
        } else if (component(before, plotted) < component(x, plotted) &&
                   component(x, plotted) >= component(next, plotted)) {
            result.values.push_back(peakValue(system, plotted, before, x, next, step));
        }
        before = x;
        x = next;
        time += pathTimeIncrement;
    }
    if (!isFinite(x)) {
        result.leftFiniteRange = true;
    }
    return result;
}

std::vector<OrbitColumn> OrbitDiagram::columns(std::int32_t first, std::int32_t end,
                                               int threads) const {
    std::vector<OrbitColumn> result(static_cast<std::size_t>(std::max(end - first, 0)));
    // Each worker takes the next column not yet taken, so a slow column delays no other.
    std::atomic<std::int32_t> next{first};
    const auto work = [&] {
        for (std::int32_t k = next++; k < end; k = next++) {
            result[static_cast<std::size_t>(k - first)] = column(k);
        }
    };
    {
        // Joined at the end of this block, before the result leaves.
        std::vector<std::jthread> helpers;
        for (int t = 1; t < threads; ++t) {
            helpers.emplace_back(work);
        }
        work();
    }
    return result;
}

} // namespace kinora
