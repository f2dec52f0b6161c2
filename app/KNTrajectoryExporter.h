#pragma once

#include "KNError.h"

#include <string>

class KNPlotWindowController;

// Writes every trajectory a plot window shows as CSV (see KNTrajectoryCsv): seed by seed in the
// order they were placed, evolution by evolution, the doubles computed rather than the floats
// drawn. Evolutions the window does not show (its blank paths) are left out.
class KNTrajectoryExporter {
public:
    // Into path, replaced only once the whole file is written.
    static bool write(KNPlotWindowController& controller, const std::string& path,
                      KNError* error = nullptr);
};
