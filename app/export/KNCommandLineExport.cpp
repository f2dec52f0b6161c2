#include "KNCommandLineExport.h"

#include "KNAnalysisTable.h"
#include "KNAnimationFrames.h"
#include "KNConsoleAlertPresenter.h"
#include "KNDocumentOpener.h"
#include "KNImageExportJob.h"
#include "KNOutputFile.h"
#include "KNPanelImage.h"
#include "KNPlotImageRenderer.h"
#include "KNTimeSeriesImage.h"
#include "KNTrajectoryExporter.h"
#include "SectionDotsFollower.h"

#include <QFileInfo>
#include <QUrl>
#include <charconv>
#include <cstdio>
#include <memory>

namespace {

bool parseSide(const std::string& text, int* side) {
    const char* end = text.data() + text.size();
    const auto [rest, failure] = std::from_chars(text.data(), end, *side);
    return failure == std::errc() && rest == end && *side >= 1 &&
           *side <= KNImageExportJob::maxSide;
}

bool parseSize(const std::string& text, int* width, int* height) {
    const std::size_t x = text.find('x');
    return x != std::string::npos && parseSide(text.substr(0, x), width) &&
           parseSide(text.substr(x + 1), height);
}

bool parseFrameCount(const std::string& text, int* count) {
    const char* end = text.data() + text.size();
    const auto [rest, failure] = std::from_chars(text.data(), end, *count);
    return failure == std::errc() && rest == end && *count >= 2 &&
           *count <= KNAnimationFrames::maxFrames;
}

bool isExportOption(const std::string& argument) {
    return argument == "--export-image" || argument == "--export-frames" ||
           argument == "--export-data";
}

} // namespace

std::optional<KNCommandLineExport::View> KNCommandLineExport::viewNamed(const std::string& name) {
    if (name == "plot") {
        return View::plot;
    }
    if (name == "time-series") {
        return View::timeSeries;
    }
    if (name == "orbit-diagram") {
        return View::orbitDiagram;
    }
    if (name == "section") {
        return View::section;
    }
    return std::nullopt;
}

bool KNCommandLineExport::isRequested(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--") {
            return false;
        }
        if (isExportOption(argument)) {
            return true;
        }
    }
    return false;
}

std::optional<KNCommandLineExport>
KNCommandLineExport::parse(const std::vector<std::string>& arguments, std::string* problem) {
    KNCommandLineExport request;
    KNAnalysisRequest analysis;
    bool analysisAsked = false;
    bool viewGiven = false;
    // The options a panel may take, as given.
    bool maximaGiven = false;
    bool valuesGiven = false;
    bool tableOptionGiven = false;
    bool framesGiven = false;
    bool hasOutput = false;
    bool optionsEnded = false;
    const auto refuse = [problem](const std::string& reason) {
        *problem = reason;
        return std::nullopt;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (!optionsEnded && isExportOption(argument)) {
            if (hasOutput) {
                return refuse("only one export can be asked for at a time.");
            }
            request.kind = argument == "--export-image"    ? Kind::image
                           : argument == "--export-frames" ? Kind::frames
                                                           : Kind::data;
            if (!hasValue) {
                return refuse(argument + (request.kind == Kind::frames
                                              ? " needs the name of the folder to write into."
                                              : " needs the name of the file to write."));
            }
            request.outputPath = arguments[++i];
            if (request.kind == Kind::frames && request.outputPath == "-") {
                return refuse("--export-frames writes a folder of pictures; standard output "
                              "(-) cannot take them.");
            }
            hasOutput = true;
        } else if (!optionsEnded && argument == "--frames") {
            if (!hasValue || !parseFrameCount(arguments[i + 1], &request.frameCount)) {
                return refuse("--frames needs a whole number of pictures from 2 to " +
                              std::to_string(KNAnimationFrames::maxFrames) + " (for example 240).");
            }
            framesGiven = true;
            ++i;
        } else if (!optionsEnded && argument == "--size") {
            if (!hasValue || !parseSize(arguments[i + 1], &request.width, &request.height)) {
                return refuse("--size needs WIDTHxHEIGHT in pixels, each from 1 to " +
                              std::to_string(KNImageExportJob::maxSide) +
                              " (for example 1600x1200).");
            }
            ++i;
        } else if (!optionsEnded && argument == "--view") {
            const std::optional<View> named = hasValue ? viewNamed(arguments[i + 1]) : std::nullopt;
            if (!named) {
                return refuse("--view needs plot, time-series, orbit-diagram or section" +
                              (hasValue ? "; '" + arguments[i + 1] + "' is none of them."
                                        : std::string(".")));
            }
            request.view = *named;
            viewGiven = true;
            ++i;
        } else if (!optionsEnded && KNAnalysisRequest::isOption(argument)) {
            if (!hasValue) {
                return refuse(argument + " needs a value.");
            }
            if (const auto refusal = analysis.readOption(argument, arguments[++i])) {
                return refuse(*refusal);
            }
            analysisAsked = true;
            maximaGiven = maximaGiven || argument == "--maxima";
            valuesGiven = valuesGiven || argument == "--values";
            tableOptionGiven = tableOptionGiven || argument == "--table" || argument == "--shard";
        } else if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            return refuse("unknown option '" + argument + "'.");
        } else if (request.documentPath.empty()) {
            request.documentPath = argument;
        } else {
            return refuse("an export reads exactly one script or session file.");
        }
    }
    if (request.documentPath.empty()) {
        return refuse("name the script or session file to export from.");
    }
    if (request.width != 0 && request.kind == Kind::data) {
        return refuse("--size applies to --export-image and --export-frames only.");
    }
    if (viewGiven && request.kind != Kind::image) {
        return refuse("--view applies to --export-image only.");
    }
    if (framesGiven != (request.kind == Kind::frames)) {
        return refuse(framesGiven ? "--frames applies to --export-frames only."
                                  : "--export-frames needs --frames N, the number of pictures "
                                    "from the start to the end (for example 240).");
    }
    if (request.view == View::timeSeries && analysisAsked) {
        return refuse("--table, --shard, --section, --maxima and --values do not apply to --view "
                      "time-series.");
    }
    if (request.view != View::plot && request.view != View::timeSeries) {
        if (tableOptionGiven) {
            return refuse("--table and --shard apply to --export-data only.");
        }
        request.section = analysis.section;
        if (maximaGiven) {
            request.maximaVariable = analysis.maximaVariable;
        }
        if (valuesGiven) {
            request.orbitValues = analysis.orbitValues;
        }
        return request;
    }
    if (analysisAsked && !analysis.tableGiven) {
        return refuse("--shard, --section, --maxima and --values go with --table, and --section, "
                      "--maxima and --values with --view orbit-diagram or section.");
    }
    if (analysis.tableGiven) {
        if (request.kind != Kind::data) {
            return refuse("--table applies to --export-data only.");
        }
        request.analysis = analysis;
    }
    return request;
}

bool KNCommandLineExport::outputIsDocument() const {
    return KNOutputFile::isSameFile(outputPath, documentPath);
}

bool KNCommandLineExport::drawsWithGL() const {
    return kind == Kind::frames ||
           (kind == Kind::image && (view == View::plot || view == View::timeSeries));
}

bool KNCommandLineExport::exportPlot(KNPlotImageRenderer& renderer,
                                     const std::optional<KNSession>& session,
                                     KNError* error) const {
    std::optional<KNViewCamera> camera;
    if (session) {
        camera = session->plotCamera;
    }
    int pictureWidth = width;
    int pictureHeight = height;
    if (pictureWidth == 0) {
        pictureWidth = camera ? camera->width : defaultWidth;
        pictureHeight = camera ? camera->height : defaultHeight;
    }
    if (kind == Kind::frames) {
        return KNAnimationFrames::write(renderer, camera, pictureWidth, pictureHeight, outputPath,
                                        frameCount, error);
    }
    return renderer.write(camera, pictureWidth, pictureHeight, outputPath, error);
}

bool KNCommandLineExport::exportTable(const KNTrajectorySnapshot& snapshot, KNError* error) const {
    std::string problem;
    const auto table = KNAnalysisTable::compute(snapshot, *analysis, &problem);
    if (!table) {
        *error = {"KNExportErrorDomain", 0, "Cannot compute the table: " + problem};
        return false;
    }
    for (const std::string& note : table->notes) {
        std::fprintf(stderr, "kinora: %s\n", note.c_str());
    }
    std::unique_ptr<KNOutputFile> file =
        KNOutputFile::open(outputPath, KNOutputFile::Streams::allowed, &problem);
    std::optional<std::string> failure;
    if (!file) {
        failure = problem;
    } else if (!file->write(table->text.data(), static_cast<qint64>(table->text.size()))) {
        failure = file->errorString();
    } else {
        failure = file->commit();
    }
    if (failure) {
        *error = {"KNExportErrorDomain", 0,
                  "Cannot export the table " + KNOutputFile::describe(outputPath) + ": " +
                      *failure + "."};
    }
    return !failure;
}

kinora::AnalysisPanelSettings
KNCommandLineExport::panelSettings(const KNOpenedDocument& document) const {
    kinora::AnalysisPanelSettings settings = document.analysis;
    if (section) {
        settings.section = *section;
    }
    if (orbitValues) {
        settings.orbit.resolution = *orbitValues;
    }
    // As on the table's command line: a plane given plots its crossings, --maxima the maxima.
    if (maximaVariable) {
        settings.orbit.quantity = kinora::OrbitQuantity::localMaxima;
        settings.orbit.variable = *maximaVariable;
    } else if (section) {
        settings.orbit.quantity = kinora::OrbitQuantity::sectionCrossings;
        settings.orbit.variable = section->axis == 0 ? 1 : 0;
    }
    return settings;
}

KNPlotImageAnalysis KNCommandLineExport::plotAnalysis(const KNOpenedDocument& document) {
    KNPlotImageAnalysis analysis;
    if (document.analysis.sectionShown) {
        analysis.section = document.analysis.section;
    }
    if (const std::optional<KNSession>& session = document.session) {
        analysis.markers = session->findingsPanelShown;
        analysis.colourByExponent = session->pathColours == KNSession::PathColours::byExponent;
    }
    return analysis;
}

QSize KNCommandLineExport::panelSize() const {
    return width != 0 ? QSize(width, height) : QSize(defaultWidth, defaultHeight);
}

int KNCommandLineExport::run() const {
    KNConsoleAlertPresenter alerts(stderr);
    if (kind == Kind::frames) {
        if (const auto refusal = KNAnimationFrames::folderRefusal(outputPath, frameCount)) {
            std::fprintf(stderr, "kinora: %s\n", refusal->c_str());
            return 2;
        }
    }
    const QUrl url =
        QUrl::fromLocalFile(QFileInfo(QString::fromStdString(documentPath)).absoluteFilePath());
    std::optional<KNOpenedDocument> document = KNDocumentOpener::open(url, alerts);
    if (!document) {
        return 1;
    }
    kinora::Exploration& exploration = *document->exploration;
    KNError error;
    if (kind == Kind::data && !analysis) {
        // The CSV's job computes every path itself and fails on one the script could not
        // finish, so the exploration computes none: the paths are computed once.
        if (!KNTrajectoryExporter::write(exploration.trajectorySnapshot(), outputPath, &error)) {
            alerts.presentError(error, {});
            return 1;
        }
        return 0;
    }
    // Made before the paths are computed, so it receives them as a window would.
    std::optional<KNPlotImageRenderer> renderer;
    std::optional<kinora::SectionDotsFollower> crossings;
    const kinora::AnalysisPanelSettings panel = panelSettings(*document);
    if (drawsWithGL()) {
        renderer.emplace(exploration, view == View::timeSeries ? KNPlotImageAnalysis{}
                                                               : plotAnalysis(*document));
    } else if (kind == Kind::image && view == View::section) {
        if (!section && !document->analysis.sectionShown) {
            alerts.presentError({"KNExportErrorDomain", 0,
                                 "--view section needs a section plane: give one with --section "
                                 "AXIS=VALUE, declare it as initial.section in the script, or "
                                 "save the session with its section shown."},
                                {});
            return 1;
        }
        crossings.emplace(exploration, panel.section);
        exploration.setListener(&*crossings);
    } else if (kind == Kind::image && view == View::orbitDiagram) {
        std::string problem;
        const std::optional<QImage> image =
            KNPanelImage::orbitDiagram(exploration, panel, panelSize(), &problem);
        if (!image) {
            error = {"KNExportErrorDomain", 0, "Cannot draw the orbit diagram: " + problem};
        }
        if (!image || !KNPanelImage::write(*image, outputPath, &error)) {
            alerts.presentError(error, {});
            return 1;
        }
        return 0;
    }
    exploration.completeRecomputation();
    if (crossings) {
        exploration.setListener(nullptr);
    }
    // A script that fails or is stopped while its paths are computed would export paths cut
    // short.
    if (alerts.hasReportedError()) {
        return 1;
    }
    const kinora::RecomputationOutcome& outcome = exploration.lastOutcome();
    if (outcome.stoppedPaths > 0) {
        alerts.presentError({"KNJavascriptErrorDomain", 0,
                             "the system's evolution function ran too long and was stopped, so "
                             "its paths are incomplete."},
                            url.fileName().toStdString());
        return 1;
    }
    if (outcome.failedPaths > 0) {
        alerts.presentError({"KNJavascriptErrorDomain", 0,
                             "the system's evolution function failed (" + outcome.firstError +
                                 "), so its paths are incomplete."},
                            url.fileName().toStdString());
        return 1;
    }

    bool written = false;
    if (crossings) {
        written =
            KNPanelImage::write(KNPanelImage::section(*crossings, panelSize()), outputPath, &error);
    } else if (view == View::timeSeries) {
        written = KNTimeSeriesImage::write(renderer->plotPicture(), exploration, panelSize(),
                                           outputPath, &error);
    } else if (renderer) {
        written = exportPlot(*renderer, document->session, &error);
    } else {
        written = exportTable(exploration.trajectorySnapshot(), &error);
    }
    if (!written) {
        alerts.presentError(error, {});
        return 1;
    }
    return 0;
}
