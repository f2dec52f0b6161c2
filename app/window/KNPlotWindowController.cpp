#include "KNPlotWindowController.h"

#include "KNDocumentOpener.h"
#include "KNFrameStatistics.h"
#include "KNIntegrationSettingsFields.h"
#include "KNLinkedPaths.h"
#include "KNNumberField.h"
#include "KNParameterField.h"
#include "KNParameterSpaceView.h"
#include "KNParameterTableView.h"
#include "KNPathPanels.h"
#include "KNPlotCameraActions.h"
#include "KNPlotView.h"
#include "KNPlotWindow.h"
#include "KNSeedPositionPanel.h"
#include "KNSeedSelectionDisplay.h"
#include "KNSessionWindowLayout.h"
#include "KNStatusReporter.h"
#include "KNSweepControls.h"
#include "KNSweepKey.h"
#include "KNTimeSeriesView.h"
#include "KNViewFraming.h"
#include "KNWindowKeyCommands.h"
#include "Seed.h"

#include <QComboBox>
#include <QTableWidget>
#include <cassert>
#include <utility>

static_assert(KNPlotView::pathsPerSeed == KNPlotWindowController::maxEvolutionCount,
              "every evolution has a path of its seed to be drawn in");

void KNPlotWindowController::DeleteLater::operator()(KNPlotWindow* window) const {
    window->hide();
    window->deleteLater();
}

KNPlotWindowController::KNPlotWindowController(std::unique_ptr<kinora::Exploration> exploration,
                                               std::shared_ptr<KNAlertPresenter> alerts)
    : _exploration(std::move(exploration)), recomputation(*_exploration),
      alerts(std::move(alerts)) {}

KNPlotWindowController::~KNPlotWindowController() = default;

std::shared_ptr<KNPlotWindowController>
KNPlotWindowController::initWithIntegrable(EvolutionFunction integrable,
                                           const std::vector<std::string>& names,
                                           std::shared_ptr<KNAlertPresenter> alerts) {
    auto exploration = std::make_unique<kinora::Exploration>(integrable, names);
    exploration->start({});
    return initWithExploration(std::move(exploration), std::move(alerts));
}

std::shared_ptr<KNPlotWindowController> KNPlotWindowController::initWithSourceString(
    const std::string& source, std::shared_ptr<KNAlertPresenter> alerts, const std::string& title) {
    std::optional<KNOpenedDocument> document =
        KNDocumentOpener::openScriptText(source, *alerts, title);
    return document ? initWithDocument(std::move(*document), std::move(alerts)) : nullptr;
}

std::shared_ptr<KNPlotWindowController>
KNPlotWindowController::initWithContentsOfURL(const QUrl& url,
                                              std::shared_ptr<KNAlertPresenter> alerts) {
    std::optional<KNOpenedDocument> document = KNDocumentOpener::openScript(url, *alerts);
    return document ? initWithDocument(std::move(*document), std::move(alerts)) : nullptr;
}

std::shared_ptr<KNPlotWindowController>
KNPlotWindowController::initWithDocument(KNOpenedDocument document,
                                         std::shared_ptr<KNAlertPresenter> alerts) {
    auto controller =
        initWithExploration(std::move(document.exploration), std::move(alerts), document.title);
    if (document.path) {
        controller->setDocumentPath(*document.path);
    }
    if (document.session) {
        KNSessionWindowLayout::restore(*controller, *document.session);
    } else if (document.analysis.sectionShown) {
        controller->analysisPanels()->apply(document.analysis);
    }
    return controller;
}

std::shared_ptr<KNPlotWindowController>
KNPlotWindowController::initWithExploration(std::unique_ptr<kinora::Exploration> exploration,
                                            std::shared_ptr<KNAlertPresenter> alerts,
                                            const std::string& title) {
    auto controller = std::shared_ptr<KNPlotWindowController>(
        new KNPlotWindowController(std::move(exploration), std::move(alerts)));
    if (!title.empty()) {
        controller->_title = title;
    }
    return controller;
}

KNPlotWindow* KNPlotWindowController::window() {
    if (!_window) {
        _window.reset(new KNPlotWindow);
        windowDidLoad();
    }
    return _window.get();
}

bool KNPlotWindowController::isOpening() const {
    return framing && framing->isWaitingForLayout();
}

void KNPlotWindowController::showWindow() {
    window()->show();
    _window->raise();
    _window->activateWindow();
}

void KNPlotWindowController::windowDidLoad() {
    sweep = std::make_unique<KNSweepControls>(
        KNSweepControls::Widgets{sliderTableView(),
                                 {xPopupButton(), yPopupButton(), zPopupButton()},
                                 parameterView(),
                                 statusReporter()},
        *_exploration, *this, shared_from_this(), [this] { changeParameterMapping(); },
        &connections);
    framing = std::make_unique<KNViewFraming>(*plotView(), *parameterView(), *_exploration,
                                              std::move(openingCameras));
    plotView()->setDelegate(std::weak_ptr<KNPlotViewDelegate>(shared_from_this()));
    parameterView()->setDelegate(std::weak_ptr<KNParameterSpaceViewDelegate>(shared_from_this()));
    sweep->showSweep();
    showExploration();
    framing->placeOpeningCameras();

    if (_title) {
        _window->setWindowTitle(QString::fromStdString(*_title));
    }
    settingsFields = std::make_unique<KNIntegrationSettingsFields>(
        KNIntegrationSettingsFields::Fields{evolutionsControl(), integrationStepControl(),
                                            pathDurationControl(), transientControl()},
        *_exploration, statusReporter(),
        KNIntegrationSettingsFields::Actions{
            [this](int count) { changeEvolutions(count); },
            [this](double step) { changeIntegrationStep(step); },
            [this](double duration) { changePathDuration(duration); },
            [this](double transient) { changeTransient(transient); }},
        &connections);
    settingsFields->showSettingsInForce();
    connectControls();

    framing->frameWhenLaidOut(&connections, shared_from_this());
}

void KNPlotWindowController::showExploration() {
    for (std::size_t i = 0; i < _exploration->seedCount(); ++i) {
        plotView()->addSeed()->transform.position = _exploration->seedPosition(i);
    }
    // The key shows once a change of the sweep or the settings has recomputed every seed.
    if (_exploration->hasRecomputedAllSeeds()) {
        showSweepKey();
    }
    panels = std::make_unique<KNPathPanels>(*window(), *_exploration, &connections, [this] {
        _exploration->recomputeAllSeeds();
        recomputation.start();
    });
    recomputation.showIn(
        *plotView(), statusReporter(),
        [this] {
            framing->completeOpeningFraming();
            panels->pathsDidSettle();
        },
        [this] { panels->pathsWillChange(); }, &panels->timeSeries());
    linkedPaths = new KNLinkedPaths(*_exploration, *plotView(), *window()->timeSeriesView(),
                                    panels->timeSeries(), panels->findings().presenter(),
                                    statusReporter(), &connections);
    recomputation.setFollower(&panels->analysis());
    selection = std::make_unique<KNSeedSelectionDisplay>(
        *plotView(), *removeSeedButton(), *seedPositionPanel(), panels->timeSeries());
    // The window shows before the opening's one recomputation of every seed begins.
    recomputation.startLater();
}

void KNPlotWindowController::setOpeningCameras(const KNViewCamera& plot,
                                               const KNViewCamera& parameter) {
    assert(!_window && "the cameras are placed when the window loads");
    openingCameras = {plot, parameter};
}

void KNPlotWindowController::connectControls() {
    QObject::connect(addSeedButton(), &QToolButton::clicked, &connections, [this] { addSeed(); });
    QObject::connect(removeSeedButton(), &QToolButton::clicked, &connections,
                     [this] { removeSeed(); });
    QObject::connect(window()->ui().fitViewAction, &QAction::triggered, &connections,
                     [this] { fitViews(); });
    QObject::connect(window()->ui().resetViewAction, &QAction::triggered, &connections,
                     [this] { resetViews(); });
    const Ui::PlotWindow& ui = window()->ui();
    new KNPlotCameraActions(
        {ui.lookAlongXAction, ui.lookAlongYAction, ui.lookAlongZAction, ui.orthographicAction},
        ui.viewMenu, plotView(), &connections);
    QObject::connect(seedPositionPanel(), &KNSeedPositionPanel::positionEntered, &connections,
                     [this](kinora::Vector3 position) { moveSelectedSeed(position); });
    QObject::connect(seedPositionPanel(), &KNSeedPositionPanel::valueRefused, statusReporter(),
                     &KNStatusReporter::reportRefusal);

    // An export never goes on for a window the user has closed.
    QObject::connect(window(), &KNPlotWindow::windowWillClose, &connections,
                     [this] { exports.cancel(); });

    // Delete, Backspace and Escape anywhere in the window; a child of connections.
    auto* keyCommands = new KNWindowKeyCommands(
        {[this] { removeSeed(); }, [this] { cancelOperation(); }}, &connections);
    for (QObject* target : std::initializer_list<QObject*>{window(), plotView(), parameterView(),
                                                           window()->timeSeriesView()}) {
        keyCommands->watch(target);
    }
}

void KNPlotWindowController::updateSeed(Seed* seed) {
    _exploration->moveSeed(plotView()->indexOfSeed(seed), seed->transform.position);
    recomputation.start();
}

void KNPlotWindowController::completeRecomputation() {
    recomputation.complete();
}

void KNPlotWindowController::showSweepKey() {
    const KNSweepKey key = KNSweepKey::describe(system().parameters);
    plotView()->setSweepKey(key.start, key.end);
}

void KNPlotWindowController::showAllSeedsRecomputing() {
    showSweepKey();
    recomputation.start();
    plotView()->requestRedraw();
}

void KNPlotWindowController::addSeed() {
    KNFrameStatistics::beginEvent("add");
    if (const std::optional<std::string> refusal = _exploration->addSeedRefusal()) {
        statusReporter()->reportRefusal(
            QObject::tr("No seed was added: %1").arg(QString::fromStdString(*refusal)));
        return;
    }
    Seed* seed = plotView()->addSeed();
    _exploration->addSeed(seed->transform.position);
    recomputation.start();
    // Selected, so its coordinates can be typed at once.
    plotView()->selectSeed(seed);
    plotView()->requestRedraw();
}

void KNPlotWindowController::removeSeed() {
    KNFrameStatistics::beginEvent("remove");
    if (Seed* seed = plotView()->selectedSeed()) {
        const std::size_t index = plotView()->indexOfSeed(seed);
        plotView()->removeSelectedSeed();
        _exploration->removeSeed(index);
        statusReporter()->withdrawRefusal();
        panels->seedRemoved(index);
    }
    plotView()->requestRedraw();
}

void KNPlotWindowController::changeEvolutions(int count) {
    KNFrameStatistics::beginEvent("evolutions");
    showSettingChange(_exploration->changeEvolutions(count));
}

void KNPlotWindowController::changeIntegrationStep(double step) {
    KNFrameStatistics::beginEvent("step");
    showSettingChange(_exploration->changeIntegrationStep(step));
}

void KNPlotWindowController::changePathDuration(double duration) {
    showSettingChange(_exploration->changePathDuration(duration));
}

void KNPlotWindowController::changeTransient(double transient) {
    showSettingChange(_exploration->changeTransient(transient));
}

void KNPlotWindowController::showSettingChange(const std::optional<std::string>& refusal) {
    window();
    if (settingsFields->showChange(refusal)) {
        showAllSeedsRecomputing();
    }
}

void KNPlotWindowController::cancelOperation() {
    if (linkedPaths != nullptr && linkedPaths->restore()) {
        return;
    }
    if (exports.cancel()) {
        return;
    }
    // Escape first stops a long recomputation: the paths computed so far stay.
    if (recomputation.stop()) {
        return;
    }
    KNFrameStatistics::beginEvent("deselect");
    plotView()->deselectSeed();
    plotView()->requestRedraw();
}

void KNPlotWindowController::moveSelectedSeed(kinora::Vector3 position) {
    Seed* seed = plotView()->selectedSeed();
    if (seed == nullptr) {
        return;
    }
    KNFrameStatistics::beginEvent("move");
    seed->transform.position = position;
    plotViewSeedWasMoved(plotView(), seed);
    plotView()->requestRedraw();
}

void KNPlotWindowController::plotViewSeedWasMoved(KNPlotView*, Seed* seed) {
    updateSeed(seed);
    selection->seedDidMove(*seed);
}

void KNPlotWindowController::plotViewSeedWasSelected(KNPlotView*, int) {
    selection->showSelection();
}

void KNPlotWindowController::plotViewSeedWasDeselected(KNPlotView*, int) {
    selection->showNoSelection();
}

int KNPlotWindowController::numberOfRowsInTableView(QTableWidget*) {
    return system().parameterCount();
}

QWidget* KNPlotWindowController::tableView(QTableWidget* tableView, int column, int row) {
    return sweep->showRow(tableView, column, row);
}

void KNPlotWindowController::changeParameterStart(KNParameterField* sender) {
    KNFrameStatistics::beginEvent("edit");
    if (_exploration->changeParameterStart(sender->tag(), sender->doubleValue())) {
        parameterSweepDidChange(sender->tag());
    }
}

void KNPlotWindowController::changeParameterEnd(KNParameterField* sender) {
    KNFrameStatistics::beginEvent("edit");
    if (_exploration->changeParameterEnd(sender->tag(), sender->doubleValue())) {
        parameterSweepDidChange(sender->tag());
    }
}

void KNPlotWindowController::changeParameterSweep(int index, double start, double end) {
    if (_exploration->changeParameterSweep(index, start, end)) {
        parameterSweepDidChange(index);
    }
}

void KNPlotWindowController::parameterSweepDidChange(int index) {
    window();
    sweep->showParameterSweep(index);
    showAllSeedsRecomputing();
}

void KNPlotWindowController::fitViews() {
    window();
    framing->fitViews();
}

void KNPlotWindowController::resetViews() {
    window();
    framing->resetViews();
}

void KNPlotWindowController::changeParameterMapping() {
    KNFrameStatistics::beginEvent("mapping");
    window();
    sweep->takeMapping();
    parameterSpaceViewBoundsDidChange(parameterView());
}

void KNPlotWindowController::parameterSpaceViewBoundsDidChange(KNParameterSpaceView*) {
    sweep->takeHandles();
    showAllSeedsRecomputing();
}

KNPlotView* KNPlotWindowController::plotView() {
    return window()->plotView();
}
KNParameterSpaceView* KNPlotWindowController::parameterView() {
    return window()->parameterView();
}
QTableWidget* KNPlotWindowController::sliderTableView() {
    return window()->ui().sliderTableView;
}
QToolButton* KNPlotWindowController::addSeedButton() {
    return window()->ui().addSeedButton;
}
QToolButton* KNPlotWindowController::removeSeedButton() {
    return window()->ui().removeSeedButton;
}
QComboBox* KNPlotWindowController::xPopupButton() {
    return window()->ui().xPopupButton;
}
QComboBox* KNPlotWindowController::yPopupButton() {
    return window()->ui().yPopupButton;
}
QComboBox* KNPlotWindowController::zPopupButton() {
    return window()->ui().zPopupButton;
}
KNNumberField* KNPlotWindowController::evolutionsControl() {
    return window()->ui().evolutionsField;
}
KNNumberField* KNPlotWindowController::integrationStepControl() {
    return window()->ui().stepField;
}
KNNumberField* KNPlotWindowController::pathDurationControl() {
    return window()->ui().durationField;
}

KNNumberField* KNPlotWindowController::transientControl() {
    return window()->ui().transientField;
}

KNStatusReporter* KNPlotWindowController::statusReporter() {
    return window()->statusReporter();
}
KNSeedPositionPanel* KNPlotWindowController::seedPositionPanel() {
    return window()->ui().seedPositionPanel;
}

KNAnalysisPanels* KNPlotWindowController::analysisPanels() {
    window();
    return &panels->analysis();
}

KNTimeCursorControls* KNPlotWindowController::timeCursorControls() const {
    return panels ? panels->timeCursor() : nullptr;
}

KNFindingsControls* KNPlotWindowController::findings() {
    return panels ? &panels->findings() : nullptr;
}
