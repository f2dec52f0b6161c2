#include "KNAnalysisPictures.h"

#include "AnalysisPanelSettings.h"
#include "KNScatterPicture.h"
#include "NumberText.h"

namespace {

double component(kinora::Vector3 v, int axis) {
    return axis == 0 ? v.x : (axis == 1 ? v.y : v.z);
}

QString directionWords(kinora::CrossingDirection direction) {
    switch (direction) {
    case kinora::CrossingDirection::increasing:
        return QStringLiteral("upward");
    case kinora::CrossingDirection::decreasing:
        return QStringLiteral("downward");
    case kinora::CrossingDirection::both:
        break;
    }
    return QStringLiteral("either way");
}

} // namespace

std::pair<int, int> inPlaneAxes(int axis) {
    return axis == 0 ? std::pair{1, 2} : (axis == 1 ? std::pair{0, 2} : std::pair{0, 1});
}

void drawSectionPicture(KNScatterPicture& picture, const kinora::PoincareSection& section,
                        const std::vector<kinora::SectionDot>& dots) {
    const auto [across, up] = inPlaneAxes(section.axis);
    picture.setTitles(QString::fromLatin1(kinora::axisName(across)),
                      QString::fromLatin1(kinora::axisName(up)));
    picture.setDotRadius(2);
    picture.clear();
    picture.setNote(
        dots.empty() ? QStringLiteral("No path crosses the plane %1 = %2 %3.")
                           .arg(QString::fromLatin1(kinora::axisName(section.axis)),
                                QString::fromStdString(kinora::shortestNumberText(section.value)),
                                directionWords(section.direction))
                     : QString());
    std::vector<KNScatterPoint> points;
    points.reserve(dots.size());
    for (const kinora::SectionDot& dot : dots) {
        points.push_back({component(dot.state, across), component(dot.state, up), dot.s});
    }
    picture.addPoints(points);
}

void prepareOrbitPicture(KNScatterPicture& picture, const KNOrbitAxis& axis,
                         const QString& yTitle) {
    picture.setTitles(axis.title, yTitle);
    picture.setXRange(std::pair{axis.start, axis.end});
    picture.setDotRadius(0);
    picture.setNote({});
    picture.clear();
}

void addOrbitColumn(KNScatterPicture& picture, const KNOrbitAxis& axis,
                    const kinora::OrbitColumn& column) {
    const double x = axis.start + (axis.end - axis.start) * column.s;
    std::vector<KNScatterPoint> points;
    points.reserve(column.values.size());
    for (const double value : column.values) {
        points.push_back({x, value, column.s});
    }
    picture.addPoints(points);
}

KNOrbitAxis orbitAxisOf(const std::vector<kinora::Parameter>& parameters) {
    for (const kinora::Parameter& parameter : parameters) {
        if (parameter.min() != parameter.max()) {
            return {QString::fromStdString(parameter.name), parameter.min(), parameter.max()};
        }
    }
    return {QStringLiteral("s"), 0.0, 1.0};
}

QString orbitValueTitle(kinora::OrbitQuantity quantity, int variable) {
    const QString name = QString::fromLatin1(kinora::axisName(variable));
    return quantity == kinora::OrbitQuantity::localMaxima
               ? QStringLiteral("max ") + name
               : name + QStringLiteral(" at the section");
}
