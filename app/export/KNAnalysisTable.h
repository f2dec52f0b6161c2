#pragma once

#include "KNAnalysisRequest.h"
#include "KNTrajectorySnapshot.h"

#include <optional>
#include <string>
#include <vector>

// A table of findings about a window's system as comma-separated values, every number in the
// shortest form that reads back to the same double:
// - equilibria: evolution, s, each parameter, x, y, z, the three eigenvalues' real and
//   imaginary parts, the class; from Newton starts at the origin, the seeds and 20 points
//   along each seed's path;
// - lyapunov: seed, evolution, s, each parameter, the largest exponent of the path or, when it
//   has none, why in the last column; the first tenth of the path is its transient;
// - crossings: seed, evolution, s, each parameter, t, x, y, z of every crossing of the section;
// - orbit-diagram: s, each parameter and one value per row, for the request's number of
//   parameter values, from the first seed after a transient of 100 time units, over the next
//   100.
// Rows go by parameter value (evolution, or orbit-diagram column) first, so the parts of a
// split table, concatenated in order without their repeated headers, are the whole table.
class KNAnalysisTable {
public:
    struct Result {
        std::string text;
        // What the table cannot show, for the console: Newton starts that failed, paths that
        // left the finite range.
        std::vector<std::string> notes;
    };

    // The table, or nothing with the problem in words (a script's error, a missing section).
    static std::optional<Result> compute(const KNTrajectorySnapshot& snapshot,
                                         const KNAnalysisRequest& request, std::string* problem);
};
