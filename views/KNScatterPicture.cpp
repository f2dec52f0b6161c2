#include "KNScatterPicture.h"

#include "AxisTicks.h"
#include "KNSweepColour.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

// The frame around the plot area, in points.
constexpr double leftMargin = 64.0;
constexpr double bottomMargin = 44.0;
constexpr double topMargin = 14.0;
constexpr double rightMargin = 18.0;
// Ticks at least this many points apart.
constexpr double tickSpacing = 56.0;

bool isFinite(const KNScatterPoint& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

} // namespace

void KNScatterPicture::setTitles(const QString& x, const QString& y) {
    xTitle = x;
    yTitle = y;
    stale = true;
}

void KNScatterPicture::setXRange(std::optional<std::pair<double, double>> range) {
    fixedX = range;
    xRange.reset();
    stale = true;
}

void KNScatterPicture::setDotRadius(int radius) {
    dotRadius = radius;
    stale = true;
}

void KNScatterPicture::setNote(const QString& text) {
    note = text;
    stale = true;
}

void KNScatterPicture::clear() {
    points.clear();
    xRange.reset();
    yRange.reset();
    stale = true;
}

void KNScatterPicture::addPoints(const std::vector<KNScatterPoint>& added) {
    const std::size_t first = points.size();
    for (const KNScatterPoint& point : added) {
        if (!isFinite(point)) {
            continue;
        }
        points.push_back(point);
        if (points.size() == 1) {
            bounds = {point.x, point.x, point.y, point.y};
        }
        bounds.xLow = std::min(bounds.xLow, point.x);
        bounds.xHigh = std::max(bounds.xHigh, point.x);
        bounds.yLow = std::min(bounds.yLow, point.y);
        bounds.yHigh = std::max(bounds.yHigh, point.y);
        if (!fits(point)) {
            stale = true;
        }
    }
    // Drawn onto the picture kept, unless it is to be drawn again whole anyway.
    if (!stale && !picture.isNull()) {
        drawPoints(first, points.size());
    }
}

KNScatterPicture::Range KNScatterPicture::padded(double low, double high) {
    if (!(high > low)) {
        const double half = std::max(std::abs(low) * 0.05, 0.5);
        return {low - half, high + half};
    }
    const double pad = (high - low) * 0.05;
    return {low - pad, high + pad};
}

bool KNScatterPicture::fits(const KNScatterPoint& point) {
    bool held = true;
    if (!fixedX && (!xRange || point.x < xRange->from || point.x > xRange->to)) {
        xRange = padded(bounds.xLow, bounds.xHigh);
        held = false;
    }
    if (!yRange || point.y < yRange->from || point.y > yRange->to) {
        yRange = padded(bounds.yLow, bounds.yHigh);
        held = false;
    }
    return held;
}

QRect KNScatterPicture::plotArea() const {
    const auto px = [this](double points) {
        return static_cast<int>(std::lround(points * density));
    };
    return QRect(
        QPoint(px(leftMargin), px(topMargin)),
        QPoint(picture.width() - 1 - px(rightMargin), picture.height() - 1 - px(bottomMargin)));
}

const QImage& KNScatterPicture::image(QSize pixels, double pixelsPerPoint) {
    if (picture.size() != pixels || density != pixelsPerPoint) {
        picture = QImage(pixels.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        density = pixelsPerPoint;
        stale = true;
    }
    if (stale) {
        drawAll();
    }
    return picture;
}

void KNScatterPicture::drawAll() {
    stale = false;
    drawFrame();
    drawPoints(0, points.size());
}

void KNScatterPicture::drawFrame() {
    picture.fill(Qt::black);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font = painter.font();
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(11.0 * density))));
    painter.setFont(font);
    const QRect area = plotArea();
    if (area.width() < 2 || area.height() < 2) {
        return;
    }
    const QColor frame(110, 110, 110);
    const QColor text(200, 200, 200);
    painter.setPen(frame);
    painter.drawRect(area);
    const Range x = fixedX ? Range{fixedX->first, fixedX->second} : xRange.value_or(Range{});
    const Range y = yRange.value_or(Range{});
    const QFontMetrics metrics(font);
    // extent: a label's length along its axis.
    const auto tick = [&](const Range& range, double pixels, auto&& extent, auto&& place) {
        const double span = range.to - range.from;
        if (!(std::abs(span) > 0.0) || !std::isfinite(span)) {
            return;
        }
        const double low = std::min(range.from, range.to);
        const double high = std::max(range.from, range.to);
        const double step = kinora::AxisTicks::labelledStep(
            low, high, pixels, tickSpacing * density, 6.0 * density,
            [&](const std::string& label) { return extent(QString::fromStdString(label)); });
        // Multiples of the step, not a running sum, so labels carry no accumulated error.
        for (double k = std::ceil(low / step); k * step <= high; ++k) {
            const double v = k * step;
            place((v - range.from) / span,
                  QString::fromStdString(kinora::AxisTicks::text(v, step)));
        }
    };
    const int tickLength = static_cast<int>(std::lround(4.0 * density));
    const auto width = [&](const QString& label) {
        return static_cast<double>(metrics.horizontalAdvance(label));
    };
    const auto height = [&](const QString&) { return static_cast<double>(metrics.height()); };
    tick(x, area.width(), width, [&](double f, const QString& label) {
        const int px = area.left() + static_cast<int>(std::lround(f * area.width()));
        painter.setPen(frame);
        painter.drawLine(px, area.bottom(), px, area.bottom() + tickLength);
        painter.setPen(text);
        painter.drawText(px - metrics.horizontalAdvance(label) / 2,
                         area.bottom() + tickLength + metrics.ascent() + 2, label);
    });
    tick(y, area.height(), height, [&](double f, const QString& label) {
        const int py = area.bottom() - static_cast<int>(std::lround(f * area.height()));
        painter.setPen(frame);
        painter.drawLine(area.left() - tickLength, py, area.left(), py);
        painter.setPen(text);
        painter.drawText(area.left() - tickLength - 3 - metrics.horizontalAdvance(label),
                         py + metrics.ascent() / 2 - 1, label);
    });
    painter.setPen(text);
    painter.drawText(QRect(area.left(), area.bottom() + tickLength + metrics.height() + 4,
                           area.width(), metrics.height()),
                     Qt::AlignHCenter, xTitle);
    painter.save();
    painter.translate(static_cast<int>(std::lround(14.0 * density)), area.center().y());
    painter.rotate(-90.0);
    painter.drawText(QRect(-area.height() / 2, -metrics.ascent(), area.height(), metrics.height()),
                     Qt::AlignHCenter, yTitle);
    painter.restore();
    if (!note.isEmpty()) {
        painter.drawText(area.adjusted(6, 4, -6, -4),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, note);
    }
}

void KNScatterPicture::drawPoints(std::size_t first, std::size_t end) {
    const QRect area = plotArea();
    if (area.width() < 2 || area.height() < 2) {
        return;
    }
    const Range x = fixedX ? Range{fixedX->first, fixedX->second} : xRange.value_or(Range{});
    const Range y = yRange.value_or(Range{});
    const int r = static_cast<int>(std::lround(dotRadius * density));
    auto* const pixels = reinterpret_cast<QRgb*>(picture.bits());
    const qsizetype stride = picture.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    // The points of an orbit diagram's column share their s: its colour is worked out once.
    double shade = NAN;
    QRgb colour = 0;
    for (std::size_t i = first; i < end; ++i) {
        const KNScatterPoint& point = points[i];
        const double fx = (point.x - x.from) / (x.to - x.from);
        const double fy = (point.y - y.from) / (y.to - y.from);
        if (!(fx >= 0.0 && fx <= 1.0 && fy >= 0.0 && fy <= 1.0)) {
            continue;
        }
        if (point.s != shade) {
            shade = point.s;
            colour = sweepColour(shade).rgb();
        }
        const int cx = area.left() + static_cast<int>(std::lround(fx * (area.width() - 1)));
        const int cy = area.bottom() - static_cast<int>(std::lround(fy * (area.height() - 1)));
        for (int py = std::max(cy - r, area.top() + 1); py <= std::min(cy + r, area.bottom() - 1);
             ++py) {
            QRgb* const line = pixels + py * stride;
            for (int px = std::max(cx - r, area.left() + 1);
                 px <= std::min(cx + r, area.right() - 1); ++px) {
                if ((px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r + r) {
                    line[px] = colour;
                }
            }
        }
    }
}
