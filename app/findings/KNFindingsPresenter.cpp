#include "KNFindingsPresenter.h"

#include "Exploration.h"
#include "KNFanWorkerTools.h"
#include "KNFindingsPanel.h"
#include "NumberText.h"
#include "Seed.h"

#include <QMetaObject>
#include <algorithm>
#include <cmath>

namespace {

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

KNFindingsPresenter::KNFindingsPresenter(kinora::Exploration& exploration, KNPlotView& view,
                                         KNFindingsPanel& panel, kinora::JacobianFunction jacobian)
    : exploration(exploration), view(view), panel(panel), jacobian(jacobian) {}

KNFindingsPresenter::~KNFindingsPresenter() = default;

bool KNFindingsPresenter::isWanted() const {
    return panelShown || view.pathColouring() == KNPlotView::PathColouring::byExponent;
}

void KNFindingsPresenter::setPanelShown(bool show) {
    if (show == panelShown) {
        return;
    }
    panelShown = show;
    showMarkers();
    view.requestRedraw();
    if (show && !shown) {
        pathsDidSettle();
    }
}

void KNFindingsPresenter::setPathColouring(KNPlotView::PathColouring colouring) {
    view.setPathColouring(colouring);
    showExponentColours();
    view.requestRedraw();
    if (isWanted() && !shown) {
        pathsDidSettle();
    }
}

void KNFindingsPresenter::pathsWillChange() {
    if (computation) {
        computation->cancel();
    }
    withdraw();
}

void KNFindingsPresenter::withdraw() {
    shown.reset();
    panel.showPending(QObject::tr("Waiting for the paths to be computed…"));
    showMarkers();
    showExponentColours();
}

void KNFindingsPresenter::pathsDidSettle() {
    withdraw();
    if (!isWanted() || exploration.isRecomputing()) {
        return;
    }
    if (!computation) {
        computation = std::make_unique<kinora::FindingsComputation>(
            fanWorkerTools(exploration.system().evolution, exploration.system().parameterCount(),
                           exploration.scriptText()),
            jacobian, [this] {
                QMetaObject::invokeMethod(
                    &context, [this] { deliver(); }, Qt::QueuedConnection);
            });
    }
    panel.showPending(QObject::tr("Computing the equilibria…"));
    computation->request(exploration.trajectorySnapshot());
}

void KNFindingsPresenter::deliver() {
    std::optional<kinora::ExplorationFindings> findings = computation->take();
    if (!findings) {
        return;
    }
    shown = std::move(findings);
    panel.showFindings(*shown);
    showMarkers();
    showExponentColours();
    view.requestRedraw();
}

void KNFindingsPresenter::showMarkers() {
    std::vector<KNEquilibriumMarker> markers;
    if (panelShown && shown) {
        for (const kinora::EvolutionFindings& evolution : shown->evolutions) {
            for (const kinora::Equilibrium& point : evolution.equilibria.equilibria) {
                markers.push_back(
                    {point.position, static_cast<float>(evolution.s), shapeOf(point.stability)});
            }
        }
    }
    view.setEquilibriumMarkers(markers);
}

void KNFindingsPresenter::showExponentColours() {
    const bool known = shown && shown->exponentsComplete;
    // The key reaches as far as the largest exponent on either side of zero, which it centres.
    double reach = 0.0;
    if (known) {
        for (const kinora::EvolutionFindings& evolution : shown->evolutions) {
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
            if (known && m < shown->evolutions.size() &&
                seedIndex < shown->evolutions[m].exponents.size()) {
                const auto& exponent = shown->evolutions[m].exponents[seedIndex].exponent;
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
            QObject::tr("largest Lyapunov exponent −%1, regular").arg(rounded(reach)),
            QObject::tr("%1, chaotic; grey: none").arg(rounded(reach)));
    }
}
