#include "KNAnalysisPanels.h"

#include "Exploration.h"
#include "KNAnalysisInPlotView.h"
#include "KNOrbitDiagramPanel.h"
#include "KNPlotView.h"
#include "KNPlotWindow.h"
#include "KNScatterView.h"
#include "KNSectionPanel.h"
#include "KNStatusReporter.h"

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QTimer>

namespace {

// A hidden dock of window, shown and hidden by its item in the View menu only, which then
// always tells the truth.
QDockWidget* makeDock(KNPlotWindow& window, const QString& title, const QString& name,
                      QWidget* content, QAction** menuItem) {
    auto* dock = new QDockWidget(title, &window);
    dock->setObjectName(name);
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    dock->setWidget(content);
    window.addDockWidget(Qt::BottomDockWidgetArea, dock);
    dock->hide();
    QAction* item = window.ui().viewMenu->addAction(title);
    item->setCheckable(true);
    QObject::connect(item, &QAction::toggled, dock, &QWidget::setVisible);
    *menuItem = item;
    return dock;
}

} // namespace

KNAnalysisPanels::KNAnalysisPanels(KNPlotWindow& window, kinora::Exploration& exploration,
                                   std::function<void()> recomputeAll)
    : window(window), plotView(*window.plotView()), exploration(exploration),
      recomputeAll(std::move(recomputeAll)), crossings(exploration, _settings.section),
      section(new KNSectionPanel), orbit(new KNOrbitDiagramPanel),
      computation(
          [this](const KNOrbitDiagramComputation::Columns& columns) {
              for (const auto& [k, column] : columns) {
                  addOrbitColumn(orbit->scatterView()->picture(), orbitAxis, column);
              }
              orbit->scatterView()->refresh();
          },
          [this](int done, int total, const std::string& problem) {
              orbit->showProgress(
                  !problem.empty()
                      ? QStringLiteral("Stopped: %1").arg(QString::fromStdString(problem))
                  : done < total ? QStringLiteral("%1 of %2 values").arg(done).arg(total)
                                 : QStringLiteral("%1 values").arg(total));
          }) {
    window.ui().viewMenu->addSeparator();
    _sectionDock = makeDock(window, QStringLiteral("Poincaré Section"),
                            QStringLiteral("sectionDock"), section, &sectionItem);
    _orbitDock = makeDock(window, QStringLiteral("Orbit Diagram"), QStringLiteral("orbitDock"),
                          orbit, &orbitItem);
    section->showSection(_settings.section);
    orbit->showSettings(_settings.orbit);
    connect(sectionItem, &QAction::toggled, this, [this](bool shown) { showSection(shown); });
    connect(orbitItem, &QAction::toggled, this, [this](bool shown) { showOrbitDiagram(shown); });
    section->setSectionChanged([this](const kinora::PoincareSection& s) { changeSection(s); });
    section->setRefused([this](const QString& reason) { refuse(reason); });
    orbit->setSettingsChanged([this](const kinora::OrbitPanelSettings& s) { changeOrbit(s); });
    orbit->setRefused([this](const QString& reason) { refuse(reason); });
    orbit->setCheck([this](const kinora::OrbitPanelSettings& s) -> std::optional<QString> {
        const auto refusal = kinora::orbitDiagramRefusal(
            s, _settings.section, this->exploration.integrator().integrationStep());
        return refusal ? std::optional(QString::fromStdString(*refusal)) : std::nullopt;
    });
    plotView.setSectionDragHandler([this](double moved) {
        kinora::PoincareSection moving = _settings.section;
        moving.value += moved;
        changeSection(moving);
        section->showSection(moving);
    });
}

KNAnalysisPanels::~KNAnalysisPanels() {
    plotView.setSectionDragHandler({});
}

std::optional<std::string> KNAnalysisPanels::apply(const kinora::AnalysisPanelSettings& settings) {
    if (auto refusal = kinora::orbitSettingsRefusal(settings.orbit, settings.section)) {
        return refusal;
    }
    _settings.section = settings.section;
    _settings.orbit = settings.orbit;
    section->showSection(settings.section);
    orbit->showSettings(settings.orbit);
    const bool sectionWasShown = _settings.sectionShown;
    const bool orbitWasShown = _settings.orbitDiagramShown;
    // Showing a panel computes what it shows; one shown already computes it again.
    sectionItem->setChecked(settings.sectionShown);
    orbitItem->setChecked(settings.orbitDiagramShown);
    if (sectionWasShown && settings.sectionShown) {
        changeSection(settings.section);
    }
    if (orbitWasShown && settings.orbitDiagramShown) {
        startDiagram();
    }
    return std::nullopt;
}

void KNAnalysisPanels::showSection(bool shown) {
    if (shown == _settings.sectionShown) {
        return;
    }
    _settings.sectionShown = shown;
    crossings.follow(_settings.section);
    placePlane();
    showDots();
    if (shown) {
        recomputeAll();
    }
}

void KNAnalysisPanels::showOrbitDiagram(bool shown) {
    if (shown == _settings.orbitDiagramShown) {
        return;
    }
    _settings.orbitDiagramShown = shown;
    if (shown) {
        startDiagram();
    } else {
        computation.stop();
    }
}

void KNAnalysisPanels::changeSection(const kinora::PoincareSection& changed) {
    if (kinora::orbitSettingsRefusal(_settings.orbit, changed)) {
        // The diagram plots the coordinate the new plane is normal to: it plots maxima instead.
        _settings.orbit.quantity = kinora::OrbitQuantity::localMaxima;
        orbit->showSettings(_settings.orbit);
    }
    _settings.section = changed;
    crossings.follow(changed);
    if (_settings.sectionShown) {
        placePlane();
        showDots();
        recomputeAll();
    }
    if (_settings.orbitDiagramShown &&
        _settings.orbit.quantity == kinora::OrbitQuantity::sectionCrossings) {
        startDiagram();
    }
}

void KNAnalysisPanels::changeOrbit(const kinora::OrbitPanelSettings& changed) {
    _settings.orbit = changed;
    if (_settings.orbitDiagramShown) {
        startDiagram();
    }
}

void KNAnalysisPanels::seedRemoved(std::size_t index) {
    crossings.seedRemoved(index);
    showDotsSoon();
}

void KNAnalysisPanels::explorationDidBeginRecomputation() {
    if (_settings.orbitDiagramShown && diagramInputs() != computedInputs) {
        startDiagram();
    }
}

void KNAnalysisPanels::explorationDidStartFan(std::size_t seedIndex, std::int32_t evolutions) {
    if (_settings.sectionShown) {
        crossings.explorationDidStartFan(seedIndex, evolutions);
        showDotsSoon();
    }
}

void KNAnalysisPanels::explorationDidCompletePath(std::size_t seedIndex, std::int32_t evolution,
                                                  const kinora::SeedFan& fan) {
    if (_settings.sectionShown) {
        crossings.explorationDidCompletePath(seedIndex, evolution, fan);
        showDotsSoon();
    }
}

void KNAnalysisPanels::explorationDidDeferFan(std::size_t seedIndex) {
    if (_settings.sectionShown) {
        crossings.explorationDidDeferFan(seedIndex);
        showDotsSoon();
    }
}

void KNAnalysisPanels::explorationDidFinishRecomputation() {
    if (_settings.sectionShown) {
        placePlane();
        showDots();
    }
}

void KNAnalysisPanels::placePlane() {
    placeSectionPlane(plotView.plotPicture(), _settings.section, exploration.plotBounds(),
                      _settings.sectionShown);
    plotView.requestRedraw();
}

void KNAnalysisPanels::showDotsSoon() {
    if (dotsPending) {
        return;
    }
    dotsPending = true;
    QTimer::singleShot(0, this, [this] { showDots(); });
}

void KNAnalysisPanels::showDots() {
    dotsPending = false;
    const std::vector<kinora::SectionDot> all =
        _settings.sectionShown ? crossings.dots().all() : std::vector<kinora::SectionDot>{};
    showSectionDots(plotView.plotPicture(), all);
    plotView.requestRedraw();
    section->showDots(_settings.section, all);
}

KNAnalysisPanels::DiagramInputs KNAnalysisPanels::diagramInputs() const {
    DiagramInputs inputs;
    for (const kinora::Parameter& parameter : exploration.system().parameters) {
        inputs.sweep.push_back(parameter.min());
        inputs.sweep.push_back(parameter.max());
    }
    inputs.step = exploration.integrator().integrationStep();
    return inputs;
}

void KNAnalysisPanels::startDiagram() {
    if (const auto refusal = kinora::orbitDiagramRefusal(
            _settings.orbit, _settings.section, exploration.integrator().integrationStep())) {
        computation.stop();
        orbit->showProgress(QString::fromStdString(*refusal));
        return;
    }
    computedInputs = diagramInputs();
    orbitAxis = orbitAxisOf(exploration.system().parameters);
    prepareOrbitPicture(orbit->scatterView()->picture(), orbitAxis,
                        orbitValueTitle(_settings.orbit.quantity, _settings.orbit.variable));
    orbit->scatterView()->refresh();
    computation.start(exploration, _settings);
}

void KNAnalysisPanels::refuse(const QString& reason) {
    window.statusReporter()->reportRefusal(reason);
}
