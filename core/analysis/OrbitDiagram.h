#pragma once

#include "KinoraSystem.h"
#include "PathDriver.h"
#include "PoincareSection.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kinora {

// What an orbit diagram plots against s: one coordinate of the section crossings, or the
// local maxima of one variable.
enum class OrbitQuantity { sectionCrossings, localMaxima };

struct OrbitDiagramSettings {
    // Parameter values along the sweep, s = k / (resolution − 1).
    std::int32_t resolution = 1000;
    Vector3 seed{1.0, 1.0, 1.0};
    // Integration steps discarded before the recording begins, then the steps recorded.
    std::int32_t transientSteps = 10'000;
    std::int32_t recordedSteps = 10'000;
    OrbitQuantity quantity = OrbitQuantity::sectionCrossings;
    PoincareSection section;
    // The coordinate plotted (0 x, 1 y, 2 z): of the crossings, or the variable whose maxima
    // are taken.
    int plotted = 0;
};

// The fewest and most parameter values a diagram may have.
constexpr std::int32_t minimumOrbitResolution = 100;
constexpr std::int32_t maximumOrbitResolution = 5000;

// The points of one column: the system's values at fraction s of the sweep.
struct OrbitColumn {
    double s = 0.0;
    std::vector<double> values;
    // The path left the finite range; values holds what came before.
    bool leftFiniteRange = false;
    // What stopped the column's path otherwise (a script's error, its time limit), or empty.
    std::string error;
};

// An orbit diagram across the sweep of system's parameters, column by column. Each column
// depends only on its own parameter values, so columns may be computed in any order and on any
// thread with the same bits.
class OrbitDiagram {
public:
    // Makes the driver a column's path is integrated with, on the thread computing it; the
    // window's own drivers give the window's bits (and a script's fast path).
    using DriverFactory = std::function<std::unique_ptr<PathDriver>()>;

    // Copies the system's parameters, evolution function and step. Without a factory, columns
    // step through the system's evolution function (SystemPathDriver).
    OrbitDiagram(const KinoraSystem& system, OrbitDiagramSettings settings,
                 DriverFactory makeDriver = nullptr);

    const OrbitDiagramSettings& settings() const { return _settings; }
    // Column k, s = sweepFraction(k, resolution). The evolution function and the driver are
    // used on the calling thread, so only a system that may run on several threads at once
    // (a built-in one) may have columns computed in parallel.
    OrbitColumn column(std::int32_t k) const;
    // Columns first ... end − 1 in column order, computed on the calling thread for one thread,
    // else by an OrbitDiagramRun of `threads` workers.
    std::vector<OrbitColumn> columns(std::int32_t first, std::int32_t end, int threads) const;

private:
    // Adds what the step from x to next shows (before is the state a step earlier) to column.
    void record(const KinoraSystem& system, Vector3 before, Vector3 x, Vector3 next,
                OrbitColumn* column) const;

    std::vector<Parameter> parameters;
    EvolutionFunction evolution;
    double step;
    OrbitDiagramSettings _settings;
    DriverFactory makeDriver;
};

} // namespace kinora
