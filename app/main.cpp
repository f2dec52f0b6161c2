#include "KNCommandLineExport.h"
#include "KNHeldMessages.h"
#include "KNLaunchArguments.h"
#include "KNModalAlertPresenter.h"
#include "KNOutputFile.h"
#include "KNRecentDocuments.h"
#include "KNSharedContext.h"
#include "LXAppDelegate.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <glib.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

void printUsage(std::FILE* stream) {
    std::fputs(
        "Usage: kinora [option] [FILE ...]\n"
        "       kinora --export-image OUT.png [--size WxH] [--view time-series] FILE\n"
        "       kinora --export-image OUT.png --view orbit-diagram|section [--size WxH]\n"
        "              [--section AXIS=VALUE] [--maxima AXIS] [--values N] FILE\n"
        "       kinora --export-frames DIR --frames N [--size WxH] FILE\n"
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
        "  --view VIEW             what the picture shows: plot (the default), time-series\n"
        "                          (x, y and z against t for the first seed's paths, 800x600\n"
        "                          unless --size), orbit-diagram or section (the panels, with\n"
        "                          a session's settings; the options below change them)\n"
        "  --export-frames DIR     draw the plot view's animation into DIR (made if missing) as\n"
        "                          frame-0000.png, frame-0001.png, ...: the paths from their\n"
        "                          seed up to the time cursor, with a dot at each head\n"
        "  --frames N              how many pictures, 2 or more: picture k has the cursor at\n"
        "                          k/(N-1) of the duration, so the last is the whole picture\n"
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
        "                          (default 1000)\n"
        "An OUT of - is standard output; messages go to standard error only. A pipe or\n"
        "device is written as it is; OUT must not be FILE itself.\n",
        stream);
}

std::string launchCommand() {
    gchar* quoted = g_shell_quote(QCoreApplication::applicationFilePath().toLocal8Bit().data());
    std::string command = std::string(quoted) + " %u";
    g_free(quoted);
    return command;
}

// The exports need no display server: a picture is drawn on Qt's display-less platform with a
// headless GL context, data is written with neither. What the toolkit logs is shown only when
// the export fails.
int runExport(int argc, char** argv, const KNCommandLineExport& request) {
    if (request.outputIsDocument()) {
        std::fprintf(stderr,
                     "kinora: \"%s\" is the file to export from; the export would destroy it. "
                     "Choose another output file.\n",
                     request.documentPath.c_str());
        return 2;
    }
    if (KNOutputFile::isStandardOutput(request.outputPath)) {
        KNOutputFile::standardOutputForData();
    }
    KNHeldMessages messages([&messages] {
        messages.release();
        std::abort();
    });
    if (request.kind == KNCommandLineExport::Kind::data) {
        QCoreApplication application(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("kinora"));
        const int result = request.run();
        if (result != 0) {
            messages.release();
        }
        return result;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kinora"));
    std::string problem;
    // The orbit-diagram and section panels are drawn without the GL.
    if (request.drawsWithGL() && !KNSharedContext::useHeadlessContext(&problem)) {
        messages.release();
        std::fprintf(stderr, "kinora: cannot draw without a display: %s.\n", problem.c_str());
        return 1;
    }
    const int result = request.run();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (result != 0) {
        messages.release();
    }
    return result;
}

int runWindows(int argc, char** argv, const std::vector<std::string>& files) {
    std::optional<QApplication> application;
    {
        // A fatal message while connecting to the window system means there is none to use.
        KNHeldMessages messages([] {
            std::fputs("Kinora needs a graphical display; for pictures and data without one, "
                       "see `kinora --help`\n",
                       stderr);
            std::_Exit(1);
        });
        application.emplace(argc, argv);
        messages.release();
    }
    QApplication::setApplicationName(QStringLiteral("kinora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kinora"));
    QApplication::setApplicationVersion(QStringLiteral(KINORA_VERSION));
    // Lets the desktop match the windows to the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.kinora.Kinora"));

    QStringList fileList;
    for (const std::string& file : files) {
        fileList.append(QString::fromLocal8Bit(file.c_str()));
    }
    int result = 0;
    {
        LXAppDelegate delegate(std::make_shared<KNModalAlertPresenter>(),
                               KNRecentDocuments("kinora", launchCommand()));
        delegate.applicationDidFinishLaunching();
        delegate.applicationOpenFiles(fileList);
        result = QApplication::exec();
    }
    // Windows of closed controllers are deleted late; let them release their GL objects now.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}

} // namespace

int main(int argc, char** argv) {
    std::string problem;
    const std::optional<KNLaunchArguments> launch =
        KNLaunchArguments::parse(std::vector<std::string>(argv + 1, argv + argc), &problem);
    if (!launch) {
        std::fprintf(stderr, "kinora: %s\n", problem.c_str());
        printUsage(stderr);
        return 2;
    }
    switch (launch->request) {
    case KNLaunchArguments::Request::help:
        printUsage(stdout);
        return 0;
    case KNLaunchArguments::Request::version:
        std::printf("kinora %s\n", KINORA_VERSION);
        return 0;
    case KNLaunchArguments::Request::exportFile:
        return runExport(argc, argv, *launch->exportRequest);
    case KNLaunchArguments::Request::windows:
        break;
    }
    return runWindows(argc, argv, launch->files);
}
