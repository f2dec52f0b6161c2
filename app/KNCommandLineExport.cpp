#include "KNCommandLineExport.h"

#include "KNConsoleAlertPresenter.h"
#include "KNDocumentOpener.h"
#include "KNImageExporter.h"
#include "KNPlotView.h"
#include "KNPlotWindowController.h"

#include <QFileInfo>
#include <QUrl>
#include <charconv>
#include <cstdio>
#include <memory>

namespace {

bool parseSide(const std::string& text, int* side) {
    const char* end = text.data() + text.size();
    const auto [rest, failure] = std::from_chars(text.data(), end, *side);
    return failure == std::errc() && rest == end && *side >= 1 && *side <= KNImageExporter::maxSide;
}

bool parseSize(const std::string& text, int* width, int* height) {
    const std::size_t x = text.find('x');
    return x != std::string::npos && parseSide(text.substr(0, x), width) &&
           parseSide(text.substr(x + 1), height);
}

} // namespace

bool KNCommandLineExport::isRequested(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--") {
            return false;
        }
        if (argument == "--export-image") {
            return true;
        }
    }
    return false;
}

std::optional<KNCommandLineExport>
KNCommandLineExport::parse(const std::vector<std::string>& arguments, std::string* problem) {
    KNCommandLineExport request;
    bool hasOutput = false;
    bool optionsEnded = false;
    const auto refuse = [problem](const std::string& reason) {
        *problem = reason;
        return std::nullopt;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (!optionsEnded && argument == "--export-image") {
            if (hasOutput) {
                return refuse("only one export can be asked for at a time.");
            }
            if (!hasValue) {
                return refuse(argument + " needs the name of the file to write.");
            }
            request.outputPath = arguments[++i];
            hasOutput = true;
        } else if (!optionsEnded && argument == "--size") {
            if (!hasValue || !parseSize(arguments[i + 1], &request.width, &request.height)) {
                return refuse("--size needs WIDTHxHEIGHT in pixels, each from 1 to " +
                              std::to_string(KNImageExporter::maxSide) +
                              " (for example 1600x1200).");
            }
            ++i;
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
    return request;
}

int KNCommandLineExport::run() const {
    auto alerts = std::make_shared<KNConsoleAlertPresenter>(stderr);
    const QUrl url =
        QUrl::fromLocalFile(QFileInfo(QString::fromStdString(documentPath)).absoluteFilePath());
    std::shared_ptr<KNPlotWindowController> controller = KNDocumentOpener::open(url, alerts);
    if (!controller) {
        return 1;
    }
    controller->window();
    // A script that fails while its paths are computed would export a picture of nothing.
    if (alerts->hasReportedError()) {
        return 1;
    }

    KNError error;
    int pictureWidth = width;
    int pictureHeight = height;
    if (pictureWidth == 0) {
        const bool session = KNDocumentOpener::isSession(url);
        const KNViewCamera camera = controller->plotView()->viewCamera();
        pictureWidth = session ? camera.width : defaultWidth;
        pictureHeight = session ? camera.height : defaultHeight;
    }
    if (!KNImageExporter::write(*controller->plotView(), pictureWidth, pictureHeight, outputPath,
                                &error)) {
        alerts->presentError(error, {});
        return 1;
    }
    return 0;
}
