#include "KNLinkedPaths.h"

#include "EvolutionDescription.h"
#include "Exploration.h"
#include "KNFindingsPresenter.h"
#include "KNPlotView.h"
#include "KNStatusReporter.h"
#include "KNTimeSeriesPresenter.h"
#include "KNTimeSeriesView.h"
#include "Seed.h"

#include <QMetaObject>

KNLinkedPaths::KNLinkedPaths(kinora::Exploration& exploration, KNPlotView& plotView,
                             KNTimeSeriesView& panel, KNTimeSeriesPresenter& timeSeries,
                             KNFindingsPresenter& findings, KNStatusReporter* status,
                             QObject* parent)
    : QObject(parent), exploration(exploration), plotView(plotView), panel(panel),
      timeSeries(timeSeries), findings(findings), status(status) {
    kinora::PathFocus& focus = exploration.pathFocus();
    focus.setChangeHandler([this] { showLater(); });
    findings.setFindingsHandler([this] { showHoverText(); });
    plotView.setPathHandlers(
        [this](const Seed* seed, int evolution) {
            this->exploration.pathFocus().hover(pathOf(seed, evolution));
        },
        [this](const Seed* seed, int evolution) {
            this->exploration.pathFocus().click(pathOf(seed, evolution));
        });
    panel.setTraceHandlers(
        [this](int evolution) { this->exploration.pathFocus().hover(selectedSeedPath(evolution)); },
        [this](int evolution) {
            this->exploration.pathFocus().click(selectedSeedPath(evolution));
        });
}

KNLinkedPaths::~KNLinkedPaths() {
    // The views and the exploration may outlive the window's controls for a moment.
    exploration.pathFocus().setChangeHandler({});
    findings.setFindingsHandler({});
    plotView.setPathHandlers({}, {});
    panel.setTraceHandlers({}, {});
}

bool KNLinkedPaths::restore() {
    return exploration.pathFocus().restore();
}

QString KNLinkedPaths::hoverText() const {
    const std::optional<kinora::EvolutionRef>& hovered = exploration.pathFocus().hovered();
    if (!hovered || hovered->seed >= exploration.seedCount()) {
        return {};
    }
    const std::optional<kinora::ExplorationFindings>& found = findings.findings();
    return QString::fromStdString(
        kinora::describeEvolution(exploration, *hovered, found ? &*found : nullptr));
}

std::optional<kinora::EvolutionRef> KNLinkedPaths::pathOf(const Seed* seed, int evolution) const {
    if (seed == nullptr || evolution < 0 || evolution >= exploration.evolutionCount()) {
        return std::nullopt;
    }
    std::size_t index = 0;
    std::optional<kinora::EvolutionRef> found;
    plotView.enumerateSeedsWithBlock([&](Seed* each) {
        if (each == seed) {
            found = kinora::EvolutionRef{index, evolution};
        }
        ++index;
    });
    return found;
}

std::optional<kinora::EvolutionRef> KNLinkedPaths::selectedSeedPath(int evolution) const {
    return pathOf(plotView.selectedSeed(), evolution);
}

int KNLinkedPaths::pathID(const std::optional<kinora::EvolutionRef>& path) const {
    int id = -1;
    if (!path) {
        return id;
    }
    std::size_t index = 0;
    plotView.enumerateSeedsWithBlock([&](Seed* seed) {
        if (index++ == path->seed && path->evolution < seed->pathCount) {
            id = seed->pathIDs[static_cast<std::size_t>(path->evolution)];
        }
    });
    return id;
}

void KNLinkedPaths::showLater() {
    if (showPending) {
        return;
    }
    showPending = true;
    QMetaObject::invokeMethod(
        this, [this] { show(); }, Qt::QueuedConnection);
}

void KNLinkedPaths::show() {
    showPending = false;
    const kinora::PathFocus& focus = exploration.pathFocus();
    plotView.setPathFocus(pathID(focus.hovered()), pathID(focus.soloed()));
    plotView.requestRedraw();
    timeSeries.showFocus();
    showHoverText();
}

void KNLinkedPaths::showHoverText() {
    if (status != nullptr) {
        status->reportHover(hoverText());
    }
}
