#pragma once

#include "OrbitDiagram.h"
#include "PoincareSection.h"
#include "Vector3.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kinora {

// The orbit diagram a window draws across its sweep: its own parameter values, seed, transient
// and recorded time, and what it plots (the local maxima of `variable`, or that coordinate of the
// crossings of the window's section plane).
struct OrbitPanelSettings {
    std::int32_t resolution = 1000;
    Vector3 seed{1.0, 1.0, 1.0};
    double transientTime = 100.0;
    double recordedTime = 100.0;
    OrbitQuantity quantity = OrbitQuantity::localMaxima;
    int variable = 2;
};

// The analysis a window shows besides its paths: the section plane (with its crossings as dots
// and in the section panel) and the orbit-diagram panel.
struct AnalysisPanelSettings {
    PoincareSection section{2, 0.0, CrossingDirection::increasing};
    bool sectionShown = false;
    bool orbitDiagramShown = false;
    OrbitPanelSettings orbit;
};

// Why a number of parameter values is no orbit diagram's resolution, or nothing.
std::optional<std::string> orbitResolutionRefusal(double values);
// Why settings cannot be an orbit diagram, or nothing: a resolution out of range, a transient or
// recorded time that is not finite or negative (or no time at all recorded), a seed that is not
// finite, a variable that is no axis, crossings plotted along the plane's own normal.
std::optional<std::string> orbitSettingsRefusal(const OrbitPanelSettings& settings,
                                                const PoincareSection& section);
// Why a system integrated with step cannot serve settings, or nothing: more than 1,000,000
// steps of transient or of recorded time, or fewer than two recorded.
std::optional<std::string> orbitStepRefusal(const OrbitPanelSettings& settings, double step);
// Both of the above.
std::optional<std::string> orbitDiagramRefusal(const OrbitPanelSettings& settings,
                                               const PoincareSection& section, double step);

// "x", "y" or "z".
const char* axisName(int axis);
// "up", "down" or "both", as the command line and the sessions write a direction.
const char* directionName(CrossingDirection direction);
std::optional<CrossingDirection> directionNamed(const std::string& name);

} // namespace kinora
