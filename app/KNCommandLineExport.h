#pragma once

#include "KNAnalysisRequest.h"
#include "KNError.h"

#include <optional>
#include <string>
#include <vector>

class KNPlotWindowController;

// The exports that run without a window: `--export-image OUT.png [--size WxH] FILE`,
// `--export-data OUT.csv FILE` and `--export-data OUT.csv --table NAME [--shard K/N]
// [--section AXIS=VALUE[,down|,both]] [--maxima AXIS] [--values N] FILE`, where FILE is a
// system script or a session.
class KNCommandLineExport {
public:
    enum class Kind { image, data };
    static constexpr int defaultWidth = 800;
    static constexpr int defaultHeight = 600;

    Kind kind = Kind::image;
    std::string outputPath;
    std::string documentPath;
    // Zero when not given: a session's own plot view size, else the default.
    int width = 0;
    int height = 0;
    // A table of findings instead of the trajectories.
    std::optional<KNAnalysisRequest> analysis;

    // Whether arguments (without the program name) ask for an export.
    static bool isRequested(const std::vector<std::string>& arguments);
    // The export the arguments ask for, or nothing with the problem in words.
    static std::optional<KNCommandLineExport> parse(const std::vector<std::string>& arguments,
                                                    std::string* problem);

    // Opens the document off screen and writes the output. Needs a QApplication on a platform
    // without a display (offscreen) and the views switched to a headless context. Every
    // problem is one line on standard error; the result is the process's exit code.
    int run() const;

private:
    // The plot view at the asked size, else a session's own view size, else the default.
    bool exportImage(KNPlotWindowController& controller, bool fromSession, KNError* error) const;
    bool exportTable(KNPlotWindowController& controller, KNError* error) const;
};
