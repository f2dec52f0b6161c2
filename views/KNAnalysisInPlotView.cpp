#include "KNAnalysisInPlotView.h"

#include "KNAnalysisPictures.h"
#include "KNPlotView.h"
#include "NumberText.h"
#include "Seed.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

double component(kinora::Vector3 v, int axis) {
    return axis == 0 ? v.x : (axis == 1 ? v.y : v.z);
}

void setComponent(kinora::Vector3& v, int axis, double value) {
    (axis == 0 ? v.x : (axis == 1 ? v.y : v.z)) = value;
}

KNMarkerShape shapeOf(kinora::StabilityClass kind) {
    switch (kind) {
    case kinora::StabilityClass::stableNode:
        return KNMarkerShape::disc;
    case kinora::StabilityClass::unstableNode:
        return KNMarkerShape::ring;
    case kinora::StabilityClass::saddle:
        return KNMarkerShape::cross;
    case kinora::StabilityClass::stableFocus:
        return KNMarkerShape::diamond;
    case kinora::StabilityClass::unstableFocus:
        return KNMarkerShape::hollowDiamond;
    case kinora::StabilityClass::saddleFocus:
        return KNMarkerShape::triangle;
    case kinora::StabilityClass::nonHyperbolic:
        return KNMarkerShape::square;
    }
    return KNMarkerShape::square;
}

QString rounded(double value) {
    return QString::fromStdString(kinora::roundedNumberText(value, 3));
}

} // namespace

void placeSectionPlane(KNPlotPicture& view, const kinora::PoincareSection& section,
                       const kinora::BoundingBox& bounds, bool shown) {
    if (!shown) {
        view.setSectionPlane(std::nullopt, section.axis);
        return;
    }
    const int normal = section.axis;
    const auto [across, up] = inPlaneAxes(normal);
    double low[3] = {-10.0, -10.0, -10.0};
    double high[3] = {10.0, 10.0, 10.0};
    if (!bounds.isEmpty()) {
        for (int axis : {across, up}) {
            low[axis] = HUGE_VAL;
            high[axis] = -HUGE_VAL;
            for (const kinora::Vector3& corner : bounds.corners()) {
                low[axis] = std::min(low[axis], component(corner, axis));
                high[axis] = std::max(high[axis], component(corner, axis));
            }
            const double margin = std::max((high[axis] - low[axis]) * 0.1, 1.0);
            low[axis] -= margin;
            high[axis] += margin;
        }
    }
    std::array<kinora::Vector3, 4> corners;
    const double spans[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (std::size_t i = 0; i < 4; ++i) {
        setComponent(corners[i], normal, section.value);
        setComponent(corners[i], across, spans[i][0] == 0 ? low[across] : high[across]);
        setComponent(corners[i], up, spans[i][1] == 0 ? low[up] : high[up]);
    }
    view.setSectionPlane(corners, normal);
}

void showSectionDots(KNPlotPicture& view, const std::vector<kinora::SectionDot>& dots) {
    std::vector<float> points;
    points.reserve(4 * dots.size());
    for (const kinora::SectionDot& dot : dots) {
        points.insert(points.end(),
                      {static_cast<float>(dot.state.x), static_cast<float>(dot.state.y),
                       static_cast<float>(dot.state.z), static_cast<float>(dot.s)});
    }
    view.setSectionDots(points);
}

void showEquilibriumMarkers(KNPlotPicture& view, const kinora::ExplorationFindings* findings) {
    std::vector<KNEquilibriumMarker> markers;
    if (findings) {
        for (const kinora::EvolutionFindings& evolution : findings->evolutions) {
            for (const kinora::Equilibrium& point : evolution.equilibria.equilibria) {
                markers.push_back(
                    {point.position, static_cast<float>(evolution.s), shapeOf(point.stability)});
            }
        }
    }
    view.setEquilibriumMarkers(markers);
}

void showExponentColours(KNPlotPicture& view, const kinora::ExplorationFindings* findings) {
    const bool known = findings && findings->exponentsComplete;
    // The key reaches as far as the largest exponent on either side of zero, which it centres.
    double reach = 0.0;
    if (known) {
        for (const kinora::EvolutionFindings& evolution : findings->evolutions) {
            for (const kinora::LyapunovEstimate& estimate : evolution.exponents) {
                if (estimate.exponent) {
                    reach = std::max(reach, std::abs(*estimate.exponent));
                }
            }
        }
    }
    std::size_t seedIndex = 0;
    view.enumerateSeedsWithBlock([&](Seed* seed) {
        for (std::size_t m = 0; m < seed->pathIDs.size(); ++m) {
            std::optional<float> shade;
            if (known && m < findings->evolutions.size() &&
                seedIndex < findings->evolutions[m].exponents.size()) {
                const auto& exponent = findings->evolutions[m].exponents[seedIndex].exponent;
                if (exponent && reach > 0.0) {
                    shade = static_cast<float>(0.5 + 0.5 * *exponent / reach);
                }
            }
            view.setPathExponentShade(seed->pathIDs[m], shade);
        }
        ++seedIndex;
    });
    if (!known) {
        view.setExponentKey(QObject::tr("largest Lyapunov exponent"), QObject::tr("computing…"));
    } else if (reach == 0.0) {
        view.setExponentKey(QObject::tr("largest Lyapunov exponent"),
                            QObject::tr("no path long enough for one (grey)"));
    } else {
        view.setExponentKey(
            // A narrow view breaks the key at its commas: the name, then each end's value.
            QObject::tr("largest Lyapunov exponent, −%1: regular").arg(rounded(reach)),
            QObject::tr("%1: chaotic, grey: none").arg(rounded(reach)));
    }
}
