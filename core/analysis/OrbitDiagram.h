#pragma once

#include "KinoraSystem.h"
#include "PoincareSection.h"

#include <cstdint>
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
};

// An orbit diagram across the sweep of system's parameters, column by column. Each column
// depends only on its own parameter values, so columns may be computed in any order and on any
// thread with the same bits.
class OrbitDiagram {
public:
    // Copies the system's parameters, evolution function and step.
    OrbitDiagram(const KinoraSystem& system, OrbitDiagramSettings settings);

    const OrbitDiagramSettings& settings() const { return _settings; }
    // Column k, s = sweepFraction(k, resolution). The evolution function is called on the
    // calling thread, so only one that may run on several threads at once (the built-in
    // systems) may have columns computed in parallel.
    OrbitColumn column(std::int32_t k) const;
    // Columns first ... end − 1, spread over `threads` threads (the calling thread alone for
    // 1), in column order.
    std::vector<OrbitColumn> columns(std::int32_t first, std::int32_t end, int threads) const;

private:
    std::vector<Parameter> parameters;
    EvolutionFunction evolution;
    double step;
    OrbitDiagramSettings _settings;
};

} // namespace kinora
