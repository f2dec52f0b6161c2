#pragma once

#include "KNAnalysisRequest.h"
#include "KNError.h"
#include "KNOpenedDocument.h"
#include "KNPlotImageRenderer.h"
#include "KNSession.h"
#include "KNTrajectorySnapshot.h"

#include <QSize>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The exports that run without a window: `--export-image OUT.png [--size WxH]
// [--view plot|time-series|orbit-diagram|section [--section AXIS=VALUE] [--maxima AXIS]
// [--values N]] FILE`, `--export-frames DIR --frames N [--size WxH] FILE`,
// `--export-data OUT.csv FILE` and `--export-data OUT.csv --table NAME [--shard K/N]
// [--section AXIS=VALUE[,down|,both]] [--maxima AXIS] [--values N] FILE`, where FILE is a
// system script or a session.
class KNCommandLineExport {
public:
    // frames: the plot view's animation, one picture per cursor position.
    enum class Kind { image, frames, data };
    // What an image shows: the plot view, or one of the panels.
    enum class View { plot, timeSeries, orbitDiagram, section };
    // "plot", "time-series", "orbit-diagram", "section"; nothing for any other name.
    static std::optional<View> viewNamed(const std::string& name);
    static constexpr int defaultWidth = 800;
    static constexpr int defaultHeight = 600;

    Kind kind = Kind::image;
    std::string outputPath;
    std::string documentPath;
    // Zero when not given: a session's own plot view size, else the default.
    int width = 0;
    int height = 0;
    View view = View::plot;
    // For frames: how many, from the cursor at t = 0 to the end.
    int frameCount = 0;
    // A table of findings instead of the trajectories.
    std::optional<KNAnalysisRequest> analysis;
    // For a panel: the options that override a session's plane and diagram settings.
    std::optional<kinora::PoincareSection> section;
    std::optional<int> maximaVariable;
    std::optional<std::int32_t> orbitValues;

    // Whether arguments (without the program name) ask for an export.
    static bool isRequested(const std::vector<std::string>& arguments);
    // The export the arguments ask for, or nothing with the problem in words.
    static std::optional<KNCommandLineExport> parse(const std::vector<std::string>& arguments,
                                                    std::string* problem);

    // Whether the output is the document itself, which the export would destroy.
    bool outputIsDocument() const;
    // Whether the export draws with the views' GL context, rather than on the CPU or not at all.
    bool drawsWithGL() const;

    // Opens the document's exploration, with no window, and writes the output. A picture needs
    // a QGuiApplication on a platform without a display (offscreen), and one drawn with GL the
    // views switched to a headless context; data and tables need neither. Every problem is one
    // line on standard error; the result is the process's exit code (2 for a folder of frames
    // that cannot take them).
    int run() const;

private:
    // The plot view, or its frames, at the asked size, else a session's own view size, else
    // the default.
    bool exportPlot(KNPlotImageRenderer& renderer, const std::optional<KNSession>& session,
                    KNError* error) const;
    bool exportTable(const KNTrajectorySnapshot& snapshot, KNError* error) const;
    // The panel's settings: a session's, with the options given put in.
    kinora::AnalysisPanelSettings panelSettings(const KNOpenedDocument& document) const;
    // What a window opened from the session shows over its paths.
    static KNPlotImageAnalysis plotAnalysis(const KNOpenedDocument& document);
    // The picture's size: the one asked for, else the default.
    QSize panelSize() const;
};
