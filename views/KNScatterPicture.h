#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

// A point of a 2-D panel, coloured by the sweep fraction s.
struct KNScatterPoint {
    double x = 0.0;
    double y = 0.0;
    double s = 0.0;
};

// The picture of a 2-D panel (the section panel, the orbit diagram): dots coloured by s inside
// axes with round tick values and titles, on the 3-D views' black. Points may arrive a few at a
// time; they are drawn onto the picture kept as long as they fall inside its ranges, which
// otherwise grow to take them and the picture is drawn again. No GL and no display needed.
class KNScatterPicture {
public:
    void setTitles(const QString& x, const QString& y);
    // A fixed horizontal range (the orbit diagram's sweep); without one it follows the points.
    void setXRange(std::optional<std::pair<double, double>> range);
    // Pixels each side of a dot's centre, at one pixel per point; 0 for single pixels.
    void setDotRadius(int radius);
    // A line shown in the picture's top left corner, such as what is missing ("" for none).
    void setNote(const QString& note);

    void clear();
    // Non-finite points are skipped.
    void addPoints(const std::vector<KNScatterPoint>& points);
    std::size_t pointCount() const { return points.size(); }

    // The picture at pixels, drawn for pixelsPerPoint device pixels per point.
    const QImage& image(QSize pixels, double pixelsPerPoint);

private:
    struct Range {
        double from = 0.0;
        double to = 1.0;
    };
    // The plot area in the image, in pixels.
    QRect plotArea() const;
    void drawAll();
    void drawFrame();
    // Points first ... end - 1 onto the picture.
    void drawPoints(std::size_t first, std::size_t end);
    // Whether the ranges hold point; otherwise they grow to hold every point.
    bool fits(const KNScatterPoint& point);
    static Range padded(double low, double high);

    QString xTitle;
    QString yTitle;
    QString note;
    std::optional<std::pair<double, double>> fixedX;
    int dotRadius = 1;
    std::vector<KNScatterPoint> points;
    // The smallest and largest coordinates of the points.
    struct Bounds {
        double xLow = 0.0;
        double xHigh = 0.0;
        double yLow = 0.0;
        double yHigh = 0.0;
    };
    Bounds bounds;
    std::optional<Range> xRange;
    std::optional<Range> yRange;
    QImage picture;
    double density = 1.0;
    bool stale = true;
};
