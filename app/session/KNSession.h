#pragma once

#include "AnalysisPanelSettings.h"
#include "KNSystemSource.h"
#include "KNViewCamera.h"
#include "PathDuration.h"
#include "Vector3.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// One parameter's sweep as the session keeps it.
struct KNSessionParameter {
    std::string name;
    double start = 0.0;
    double end = 0.0;
};

// Everything that reproduces a plot window: its system, every parameter's sweep, the axis
// mapping, the seeds, the integration settings, both views' cameras and sizes, and the analysis
// panels.
struct KNSession {
    // Format 2 added each camera's projection; format 1 files open in perspective. Format 3 added
    // the optional panels shown, the paths' colouring, the transient and the analysis panels'
    // settings; without them a window opens as new.
    static constexpr int formatVersion = 3;

    KNSystemSource system;
    std::vector<KNSessionParameter> parameters;
    std::array<std::int32_t, 3> axisToParameterMapping{-1, -1, -1};
    std::vector<kinora::Vector3> seeds;
    std::int64_t evolutionCount = kinora::defaultEvolutions;
    double integrationStep = kinora::defaultIntegrationStep;
    double duration = kinora::defaultPathDuration;
    double transient = 0.0;
    // The window's size in points, so the views come back at the size they were saved at.
    int windowWidth = 0;
    int windowHeight = 0;
    KNViewCamera plotCamera;
    KNViewCamera parameterCamera;
    // The section plane, the orbit diagram's settings and which panels show; a file without
    // them opens with the defaults and both panels hidden.
    kinora::AnalysisPanelSettings analysis;
    // Whether the equilibria and exponents panel shows, and whether the time-series panel does.
    bool findingsPanelShown = false;
    bool timeSeriesShown = true;
    // How the paths are coloured: by their place in the sweep, or by their largest exponent.
    enum class PathColours { bySweep, byExponent };
    PathColours pathColours = PathColours::bySweep;
};
