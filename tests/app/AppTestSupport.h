#pragma once

#include "KNPlotView.h"
#include "Trajectory.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

class KNParameterTableView;
class KNPlotWindowController;
class QLineEdit;
class QTableWidget;
class QTemporaryDir;
class QWidget;
class Seed;

// What the plot view holds for one path, read back from its GL buffers: the vertices and
// indices handed over, behind the point the line starts from, its seed (not of a blank path).
struct PathContents {
    std::vector<kinora::PathVertex> vertices;
    std::vector<std::uint32_t> indices;
    std::array<float, 3> start{};
    float sValue = -1.0f;

    bool isBlank() const;
};

PathContents pathContents(KNPlotView* view, int pathID);
// The contents of every path of seed, in list order.
std::vector<PathContents> pathsOf(KNPlotView* view, Seed* seed);
std::vector<Seed*> seedsOf(KNPlotView* view);

// The part of the screen that shows widget, as the display has it.
QImage screenImageOf(QWidget* widget);
// Whether colour is one the path program gives some sweep fraction.
bool isPathColour(QRgb colour);
int countPathPixels(const QImage& image);
// A pixel inside the first white point (a seed or a handle, drawn as a square) of image, found
// from its top left corner; (-1, -1) when there is none.
QPoint whitePointIn(const QImage& image);

// The view of a parameter row, once the table has scrolled to it as a user would: rows are made
// as they come into view. nullptr when the row has none.
KNParameterTableView* parameterRow(QTableWidget* table, int row);
// Replaces the field's text as a user would and presses Return.
void typeInto(QLineEdit* field, const QString& text);

// Runs the event loop until the controller's window has framed its views at their laid-out
// size, computed its trajectories and shown its pictures (on screen when it is shown); whether
// it got there.
bool settle(KNPlotWindowController& controller);
// Runs the event loop until every plot window has gone with its controller (a closed window's
// controller stays until the window has finished opening); whether they all went.
bool plotWindowsGone();
QString writeFile(const QTemporaryDir& folder, const QString& name, const std::string& text);
// Runs the program with no display, as an export over SSH or in CI would, its desktop data kept
// in dataHome; its exit code, with what it wrote to standard error and output when asked.
int runHeadless(const QString& dataHome, const QStringList& arguments, QByteArray* errors = nullptr,
                QByteArray* output = nullptr);
