#include "AppTestSupport.h"

#include "Eventually.h"
#include "GLBufferContents.h"
#include "KNParameterSpaceView.h"
#include "KNParameterTableView.h"
#include "KNPlotWindow.h"
#include "KNPlotWindowController.h"
#include "KNSharedContext.h"
#include "Mesh.h"
#include "Path.h"
#include "Scene.h"
#include "Seed.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <epoxy/gl.h>
#include <fstream>
#include <gtest/gtest.h>

namespace {

// The colour stops of shaders/path.fsh.
constexpr float rampStops[5][3] = {{0.42f, 0.30f, 0.96f},
                                   {0.16f, 0.52f, 1.00f},
                                   {0.05f, 0.76f, 0.80f},
                                   {0.52f, 0.88f, 0.30f},
                                   {1.00f, 0.86f, 0.22f}};

} // namespace

bool PathContents::isBlank() const {
    if (vertices.size() != 1 || indices != std::vector<std::uint32_t>{0} || sValue != 0.0f) {
        return false;
    }
    const auto isZero = [](float f) { return f == 0.0f; };
    return std::all_of(std::begin(vertices[0].position), std::end(vertices[0].position), isZero) &&
           std::all_of(std::begin(vertices[0].displacement), std::end(vertices[0].displacement),
                       isZero);
}

PathContents pathContents(KNPlotView* view, int pathID) {
    KNSharedContext::makeCurrentOffscreen();
    const auto* path = dynamic_cast<Path*>(view->plotPicture().scene->getRenderable(pathID));
    if (!path) {
        return {};
    }
    PathContents contents;
    // A blanked path keeps its old buffers for its next contents, and draws nothing.
    if (path->fullIndexCount <= 1) {
        contents.vertices.resize(1);
        contents.indices = {0};
        contents.sValue = path->sValue;
        return contents;
    }
    contents.vertices = glBufferContents<kinora::PathVertex>(path->mesh->vertexBuffer);
    contents.indices = glBufferContents<std::uint32_t>(path->mesh->indexBuffer);
    contents.indices.resize(static_cast<std::size_t>(path->mesh->indexCount));
    contents.sValue = path->sValue;
    if (contents.isBlank() || contents.vertices.empty()) {
        return contents;
    }
    std::copy_n(contents.vertices.front().position, 3, contents.start.begin());
    contents.vertices.erase(contents.vertices.begin());
    // A path cut before its first point (a time cursor at the start) draws no index at all.
    if (!contents.indices.empty()) {
        contents.indices.erase(contents.indices.begin());
    }
    for (std::uint32_t& index : contents.indices) {
        --index;
    }
    return contents;
}

std::vector<PathContents> pathsOf(KNPlotView* view, Seed* seed) {
    std::vector<PathContents> paths;
    for (int pathID : seed->pathIDs) {
        paths.push_back(pathContents(view, pathID));
    }
    return paths;
}

std::vector<Seed*> seedsOf(KNPlotView* view) {
    std::vector<Seed*> seeds;
    view->enumerateSeedsWithBlock([&seeds](Seed* seed) { seeds.push_back(seed); });
    return seeds;
}

QImage screenImageOf(QWidget* widget) {
    const QPoint origin = widget->mapToGlobal(QPoint(0, 0));
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, origin.x(), origin.y(), widget->width(), widget->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QPoint whitePointIn(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == qRgb(255, 255, 255)) {
                return {x + 3, y + 3};
            }
        }
    }
    return {-1, -1};
}

bool isPathColour(QRgb colour) {
    for (int i = 0; i <= 64; ++i) {
        const float x = static_cast<float>(i) / 64.0f * 4.0f;
        const int stop = std::min(static_cast<int>(x), 3);
        const float t = x - static_cast<float>(stop);
        const int expected[3] = {
            static_cast<int>(
                std::lround(255.0f * (rampStops[stop][0] * (1 - t) + rampStops[stop + 1][0] * t))),
            static_cast<int>(
                std::lround(255.0f * (rampStops[stop][1] * (1 - t) + rampStops[stop + 1][1] * t))),
            static_cast<int>(
                std::lround(255.0f * (rampStops[stop][2] * (1 - t) + rampStops[stop + 1][2] * t)))};
        if (std::abs(qRed(colour) - expected[0]) <= 12 &&
            std::abs(qGreen(colour) - expected[1]) <= 12 &&
            std::abs(qBlue(colour) - expected[2]) <= 12) {
            return true;
        }
    }
    return false;
}

int countPathPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += isPathColour(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

bool settle(KNPlotWindowController& controller) {
    const auto shown = [](KNOpenGLView* view) {
        return !view->isDrawing() && (!view->isVisible() || view->isExposed());
    };
    return eventually([&] {
        return !controller.isOpening() && !controller.isRecomputing() &&
               shown(controller.plotView()) && shown(controller.parameterView());
    });
}

bool plotWindowsGone() {
    return eventually([] {
        const QWidgetList windows = QApplication::topLevelWidgets();
        return std::none_of(windows.begin(), windows.end(), [](QWidget* window) {
            return qobject_cast<KNPlotWindow*>(window) != nullptr;
        });
    });
}

QString writeFile(const QTemporaryDir& folder, const QString& name, const std::string& text) {
    const QString path = folder.filePath(name);
    std::ofstream(path.toStdString(), std::ios::binary) << text;
    return path;
}

KNParameterTableView* parameterRow(QTableWidget* table, int row) {
    table->scrollTo(table->model()->index(row, 0));
    return qobject_cast<KNParameterTableView*>(table->cellWidget(row, 0));
}

void typeInto(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

int runHeadless(const QString& dataHome, const QStringList& arguments, QByteArray* errors,
                QByteArray* output) {
    QProcess kinora;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    environment.insert("XDG_DATA_HOME", dataHome);
    kinora.setProcessEnvironment(environment);
    kinora.start(KINORA_EXECUTABLE, arguments);
    EXPECT_TRUE(kinora.waitForFinished(300000));
    if (errors) {
        *errors = kinora.readAllStandardError();
    }
    if (output) {
        *output = kinora.readAllStandardOutput();
    }
    return kinora.exitCode();
}
