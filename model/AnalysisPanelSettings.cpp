#include "AnalysisPanelSettings.h"

#include "NumberText.h"
#include "Trajectory.h"

#include <cmath>
#include <utility>

namespace kinora {

std::optional<std::string> orbitResolutionRefusal(double values) {
    if (std::isfinite(values) && values == std::floor(values) && values >= minimumOrbitResolution &&
        values <= maximumOrbitResolution) {
        return std::nullopt;
    }
    return "An orbit diagram takes a whole number of 100 to 5,000 parameter values; " +
           shortestNumberText(values) + " is not one.";
}

std::optional<std::string> orbitSettingsRefusal(const OrbitPanelSettings& settings,
                                                const PoincareSection& section) {
    if (auto refusal = orbitResolutionRefusal(settings.resolution)) {
        return refusal;
    }
    for (const auto& [what, time] : {std::pair{"transient", settings.transientTime},
                                     std::pair{"recorded time", settings.recordedTime}}) {
        if (!std::isfinite(time) || time < 0.0) {
            return std::string("The orbit diagram's ") + what +
                   " must be a finite time of 0 or more; " + shortestNumberText(time) + " is not.";
        }
    }
    if (!(settings.recordedTime > 0.0)) {
        return std::string("The orbit diagram needs a recorded time greater than 0.");
    }
    const Vector3 seed = settings.seed;
    if (!std::isfinite(seed.x) || !std::isfinite(seed.y) || !std::isfinite(seed.z)) {
        return std::string("The orbit diagram's seed must be a finite point.");
    }
    if (settings.variable < 0 || settings.variable > 2) {
        return std::string("The orbit diagram plots x, y or z.");
    }
    if (settings.quantity == OrbitQuantity::sectionCrossings && settings.variable == section.axis) {
        return std::string("The crossings of the plane ") + axisName(section.axis) +
               " = const all have the same " + axisName(section.axis) +
               "; plot one of the other two coordinates.";
    }
    return std::nullopt;
}

std::optional<std::string> orbitStepRefusal(const OrbitPanelSettings& settings, double step) {
    for (const auto& [what, time] : {std::pair{"transient", settings.transientTime},
                                     std::pair{"recorded time", settings.recordedTime}}) {
        if (time / step > static_cast<double>(maxTrajectoryVertices)) {
            return std::string("The orbit diagram's ") + what + " of " + shortestNumberText(time) +
                   " would take more than 1,000,000 steps of " + shortestNumberText(step) + ".";
        }
    }
    if (settings.recordedTime / step < 2.0) {
        return std::string("The orbit diagram's recorded time must cover at least two steps of ") +
               shortestNumberText(step) + ".";
    }
    return std::nullopt;
}

std::optional<std::string> orbitDiagramRefusal(const OrbitPanelSettings& settings,
                                               const PoincareSection& section, double step) {
    if (auto refusal = orbitSettingsRefusal(settings, section)) {
        return refusal;
    }
    return orbitStepRefusal(settings, step);
}

const char* axisName(int axis) {
    return axis == 0 ? "x" : (axis == 1 ? "y" : "z");
}

const char* directionName(CrossingDirection direction) {
    switch (direction) {
    case CrossingDirection::increasing:
        return "up";
    case CrossingDirection::decreasing:
        return "down";
    case CrossingDirection::both:
        break;
    }
    return "both";
}

std::optional<CrossingDirection> directionNamed(const std::string& name) {
    if (name == "up") {
        return CrossingDirection::increasing;
    }
    if (name == "down") {
        return CrossingDirection::decreasing;
    }
    if (name == "both") {
        return CrossingDirection::both;
    }
    return std::nullopt;
}

} // namespace kinora
