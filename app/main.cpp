#include "KNCommandLineExport.h"
#include "KNModalAlertPresenter.h"
#include "KNRecentDocuments.h"
#include "KNSharedContext.h"
#include "LXAppDelegate.h"

#include <QApplication>
#include <cstdio>
#include <cstring>
#include <glib.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

void printUsage(std::FILE* stream) {
    std::fputs(
        "Usage: kinora [option] [FILE ...]\n"
        "       kinora --export-image OUT.png [--size WxH] FILE\n"
        "       kinora --export-data OUT.csv FILE\n"
        "       kinora --export-data OUT.csv --table TABLE [--shard K/N] [--section AXIS=VALUE]\n"
        "              [--maxima AXIS] [--values N] FILE\n"
        "Explores systems of three ordinary differential equations. Opens the built-in\n"
        "Lorenz system, then one window for each FILE given: a JavaScript system (.js) or a\n"
        "saved session (.kinora).\n"
        "\n"
        "Options:\n"
        "  -h, --help     show this help and exit\n"
        "  -v, --version  show the version and exit\n"
        "  --             treat every later argument as a file\n"
        "\n"
        "Exports (no window and no display needed; exit status 0 on success):\n"
        "  --export-image OUT.png  draw FILE's plot view into a PNG picture, with the\n"
        "                          session's camera and view size (800x600 for a script)\n"
        "  --size WxH              the picture's size in pixels instead, e.g. 1600x1200\n"
        "  --export-data OUT.csv   write FILE's trajectories as CSV: one row per point with\n"
        "                          seed, evolution, s, each parameter, t, x, y, z\n"
        "  --table TABLE           write a table of findings instead: equilibria,\n"
        "                          lyapunov, crossings or orbit-diagram\n"
        "  --shard K/N             only the K-th of N consecutive parts of the parameter\n"
        "                          values; the parts concatenated without their repeated\n"
        "                          headers are the whole table\n"
        "  --section AXIS=VALUE    the section plane, e.g. z=27 (upward crossings; add\n"
        "                          ,down or ,both for the others)\n"
        "  --maxima AXIS           the orbit diagram's variable when there is no section\n"
        "                          (default z)\n"
        "  --values N              the orbit diagram's parameter values, 100 to 5000\n"
        "                          (default 1000)\n",
        stream);
}

// Answered before the window system is touched, so both work without a display.
bool answersInformationRequest(int argc, char** argv, int* exitCode) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) {
            return false;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            printUsage(stdout);
            *exitCode = 0;
            return true;
        }
        if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0) {
            std::printf("kinora %s\n", KINORA_VERSION);
            *exitCode = 0;
            return true;
        }
    }
    return false;
}

// The file arguments left once the window system has taken its own options, or false after
// reporting an unknown option.
bool fileArguments(const QStringList& arguments, QStringList* files) {
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            std::fprintf(stderr, "kinora: unknown option '%s'\n", qPrintable(argument));
            printUsage(stderr);
            return false;
        } else {
            files->append(argument);
        }
    }
    return true;
}

std::string launchCommand() {
    gchar* quoted = g_shell_quote(QCoreApplication::applicationFilePath().toLocal8Bit().data());
    std::string command = std::string(quoted) + " %u";
    g_free(quoted);
    return command;
}

// The exports run on Qt's display-less platform with a headless GL context, so they work where
// no display server is.
int runExport(int argc, char** argv) {
    std::string problem;
    const std::optional<KNCommandLineExport> request =
        KNCommandLineExport::parse(std::vector<std::string>(argv + 1, argv + argc), &problem);
    if (!request) {
        std::fprintf(stderr, "kinora: %s\n", problem.c_str());
        printUsage(stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kinora"));
    if (!KNSharedContext::useHeadlessContext(&problem)) {
        std::fprintf(stderr, "kinora: cannot draw without a display: %s.\n", problem.c_str());
        return 1;
    }
    const int result = request->run();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}

} // namespace

int main(int argc, char** argv) {
    int exitCode = 0;
    if (answersInformationRequest(argc, argv, &exitCode)) {
        return exitCode;
    }
    if (KNCommandLineExport::isRequested(std::vector<std::string>(argv + 1, argv + argc))) {
        return runExport(argc, argv);
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kinora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kinora"));
    QApplication::setApplicationVersion(QStringLiteral(KINORA_VERSION));
    // Lets the desktop match the windows to the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.kinora.Kinora"));

    QStringList files;
    if (!fileArguments(QApplication::arguments(), &files)) {
        return 2;
    }

    int result = 0;
    {
        LXAppDelegate delegate(std::make_shared<KNModalAlertPresenter>(),
                               KNRecentDocuments("kinora", launchCommand()));
        delegate.applicationDidFinishLaunching();
        delegate.applicationOpenFiles(files);
        result = QApplication::exec();
    }
    // Windows of closed controllers are deleted late; let them release their GL objects now.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}
