#include "SeedFan.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace kinora {

namespace {
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
}

double sweepFraction(std::int32_t m, std::int32_t evolutions) {
    // A single evolution runs at the start of the sweep rather than dividing 0 by 0.
    return evolutions == 1 ? 0.0 : static_cast<double>(m) / static_cast<double>(evolutions - 1);
}

void SeedFan::start(Vector3 seed, std::int32_t evolutions, std::int32_t count) {
    _seed = seed;
    _evolutionCount = std::max<std::int32_t>(evolutions, 0);
    _vertexCount = std::max<std::int32_t>(count, 0);
    completed = 0;
    fanBegun = false;
    evolutionBegun = false;
    fanError.clear();
    const auto size = static_cast<std::size_t>(_vertexCount);
    if (paths.size() < static_cast<std::size_t>(_evolutionCount)) {
        paths.resize(static_cast<std::size_t>(_evolutionCount));
    }
    if (_indices.size() != size) {
        _indices.resize(size);
        std::iota(_indices.begin(), _indices.end(), 0u);
    }
}

void SeedFan::compute(KinoraSystem& system, PathDriver& driver, Vector3 seed,
                      std::int32_t evolutions, std::int32_t count) {
    start(seed, evolutions, count);
    advance(system, driver, std::numeric_limits<std::int64_t>::max());
}

void SeedFan::beginEvolution(KinoraSystem& system, PathDriver& driver) {
    FanPath& path = paths[static_cast<std::size_t>(completed)];
    path.s = sweepFraction(completed, _evolutionCount);
    path.outcome = EvolutionOutcome();
    path.shownBounds = BoundingBox();
    path.states.resize(3 * static_cast<std::size_t>(_vertexCount));
    path.vertices.resize(static_cast<std::size_t>(_vertexCount));
    setParametersAtSweepFraction(system, path.s);
    path.outcome.error = driver.beginEvolution(system);
    if (path.outcome.error.empty()) {
        path.outcome.error = fanError;
    }
    cursor = PathCursor{_seed, 0.0, 0};
    evolutionBegun = true;
}

bool SeedFan::advance(KinoraSystem& system, PathDriver& driver, std::int64_t stepBudget) {
    if (!fanBegun && completed < _evolutionCount) {
        fanError = driver.beginFan();
        fanBegun = true;
    }
    std::int64_t budget = std::max<std::int64_t>(stepBudget, 1);
    while (completed < _evolutionCount && budget > 0) {
        FanPath& path = paths[static_cast<std::size_t>(completed)];
        if (!evolutionBegun) {
            beginEvolution(system, driver);
        } else {
            // Another fan (an export beside the window's recomputation) may have used the system
            // or the driver's engine since the last slice.
            setParametersAtSweepFraction(system, path.s);
            const std::string error = driver.beginEvolution(system);
            if (path.outcome.error.empty()) {
                path.outcome.error = error;
            }
        }
        const auto steps =
            static_cast<std::int32_t>(std::min<std::int64_t>(budget, _vertexCount - cursor.index));
        const std::int32_t from = cursor.index;
        const bool goesOn = driver.advanceWithVertices(system, cursor, steps, path.states.data(),
                                                       path.vertices.data(), _seed, path.outcome);
        budget -= std::max(cursor.index - from, 1);
        if (!goesOn) {
            std::fill(path.states.begin() + 3 * static_cast<std::ptrdiff_t>(cursor.index),
                      path.states.end(), notANumber);
            writePathVertices(path.states.data(), path.vertices.data(), cursor.index, _vertexCount,
                              _seed, path.outcome);
            cursor.index = _vertexCount;
        }
        if (cursor.index == _vertexCount) {
            evolutionBegun = false;
            ++completed;
        }
    }
    return completed == _evolutionCount;
}

} // namespace kinora
