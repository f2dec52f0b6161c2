#pragma once

#include "KNError.h"
#include "KNTrajectorySnapshot.h"

#include <string>

// Writes every trajectory a plot window shows as CSV at once (see KNTrajectoryExportJob), for
// callers with no window to keep answering, such as the command line. Evolutions the window
// does not show (its blank paths) are left out.
class KNTrajectoryExporter {
public:
    // Into the output at path (see KNOutputFile), pipes, devices and "-" included.
    static bool write(KNTrajectorySnapshot snapshot, const std::string& path,
                      KNError* error = nullptr);
};
