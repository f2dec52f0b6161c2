#pragma once

#include "OrbitDiagram.h"
#include "Parameter.h"
#include "PoincareSection.h"
#include "SectionDots.h"

#include <QString>
#include <utility>
#include <vector>

class KNScatterPicture;

// The two coordinates within a plane normal to axis, in order: y, z for x; x, z for y; x, y for
// z.
std::pair<int, int> inPlaneAxes(int axis);

// The section panel's picture: the dots in the plane's two coordinates, coloured by s, or a
// note that no path crosses the plane.
void drawSectionPicture(KNScatterPicture& picture, const kinora::PoincareSection& section,
                        const std::vector<kinora::SectionDot>& dots);

// What the orbit diagram's horizontal axis shows: the sweep of the first parameter whose start
// and end differ (its name, start and end), or s from 0 to 1 when none does.
struct KNOrbitAxis {
    QString title;
    double start = 0.0;
    double end = 1.0;
};
KNOrbitAxis orbitAxisOf(const std::vector<kinora::Parameter>& parameters);
// The orbit diagram's vertical title: "max z" or "crossings' x".
QString orbitValueTitle(kinora::OrbitQuantity quantity, int variable);
// Sets picture up for an orbit diagram along axis plotting yTitle, with no points yet.
void prepareOrbitPicture(KNScatterPicture& picture, const KNOrbitAxis& axis, const QString& yTitle);
// Adds the column's values at its place along axis.
void addOrbitColumn(KNScatterPicture& picture, const KNOrbitAxis& axis,
                    const kinora::OrbitColumn& column);
