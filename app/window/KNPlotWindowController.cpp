#include "KNPlotWindowController.h"

#include "KNAnalysisPanels.h"
#include "KNAxisPopups.h"
#include "KNDocumentOpener.h"
#include "KNFindingsControls.h"
#include "KNFindingsPresenter.h"
#include "KNFrameStatistics.h"
#include "KNIntegrationSettingsFields.h"
#include "KNLinkedPaths.h"
#include "KNNumberField.h"
#include "KNParameterField.h"
#include "KNParameterRows.h"
#include "KNParameterSpaceView.h"
#include "KNParameterTableNavigation.h"
#include "KNParameterTableView.h"
#include "KNPlotCameraActions.h"
#include "KNPlotView.h"
#include "KNPlotWindow.h"
#include "KNSeedPositionPanel.h"
#include "KNStatusReporter.h"
#include "KNSweepHandles.h"
#include "KNSweepKey.h"
#include "KNTableReload.h"
#include "KNTimeCursorControls.h"
#include "KNTimeSeriesView.h"
#include "KNViewFraming.h"
#include "KNWindowKeyCommands.h"
#include "Seed.h"

#include <QComboBox>
#include <QScreen>
#include <QTableWidget>
#include <QTimer>
#include <cassert>
#include <utility>

static_assert(KNPlotView::pathsPerSeed == KNPlotWindowController::maxEvolutionCount,
              "every evolution has a path of its seed to be drawn in");

namespace {

// Long enough for the window to be laid out, so the views draw at their real size.
constexpr int delayedUpdateMilliseconds = 200;

} // namespace

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
    if (const std::optional<KNSession>& session = document.session) {
        controller->setOpeningCameras(session->plotCamera, session->parameterCamera);
        // Within the screen it opens on: a size saved on a larger screen, or written by hand,
        // would have the platform allocate buffers of that size, gigabytes for the largest.
        const QSize screen = controller->window()->screen()->availableGeometry().size();
        controller->window()->resize(
            QSize(session->windowWidth, session->windowHeight).boundedTo(screen));
        controller->window()->setTimeSeriesShown(session->timeSeriesShown);
        // The window's layout sizes the views once it is shown; until then they take the sizes
        // they were saved at.
        controller->plotView()->resize(
            QSize(session->plotCamera.width, session->plotCamera.height).boundedTo(screen));
        controller->parameterView()->resize(
            QSize(session->parameterCamera.width, session->parameterCamera.height)
                .boundedTo(screen));
        controller->findings()->setPanelShown(session->findingsPanelShown);
        controller->findings()->setPathColouring(session->pathColours ==
                                                         KNSession::PathColours::byExponent
                                                     ? KNPlotView::PathColouring::byExponent
                                                     : KNPlotView::PathColouring::bySweep);
        // The reader has checked the settings.
        controller->analysisPanels()->apply(session->analysis);
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

void KNPlotWindowController::showWindow() {
    window()->show();
    _window->raise();
    _window->activateWindow();
}

void KNPlotWindowController::windowDidLoad() {
    axisPopups = std::make_unique<KNAxisPopups>(
        std::array{xPopupButton(), yPopupButton(), zPopupButton()}, system().parameters,
        axisToParameterMapping(), [this] { changeParameterMapping(); }, &connections);
    sweepHandles = std::make_unique<KNSweepHandles>(*parameterView(), *_exploration);
    framing = std::make_unique<KNViewFraming>(*plotView(), *parameterView(), *_exploration,
                                              std::move(openingCameras));
    rows = std::make_unique<KNParameterRows>(
        std::weak_ptr<KNParameterTableViewOwner>(shared_from_this()), statusReporter());

    plotView()->setDelegate(std::weak_ptr<KNPlotViewDelegate>(shared_from_this()));
    parameterView()->setDelegate(std::weak_ptr<KNParameterSpaceViewDelegate>(shared_from_this()));
    reloadData(sliderTableView(), *this);
    sweepHandles->showAxisNames();
    // The rows stay for the window's life: one parameter list, refilled in place.
    (new KNParameterTableNavigation(sliderTableView(), &connections))->chainFields();
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

    opening = true;
    // The views have their laid-out size then: the opening framing is made again at that size,
    // and it is what Reset View returns to.
    QTimer::singleShot(delayedUpdateMilliseconds, &connections, [self = shared_from_this()] {
        self->opening = false;
        self->framing->frameLaidOutViews();
    });
}

void KNPlotWindowController::showExploration() {
    for (std::size_t i = 0; i < _exploration->seedCount(); ++i) {
        plotView()->addSeed()->transform.position = _exploration->seedPosition(i);
    }
    sweepHandles->showSweep();
    // The key shows once a change of the sweep or the settings has recomputed every seed.
    if (_exploration->hasRecomputedAllSeeds()) {
        const KNSweepKey key = KNSweepKey::describe(system().parameters);
        plotView()->setSweepKey(key.start, key.end);
    }
    timeSeries = std::make_unique<KNTimeSeriesPresenter>(*_exploration, *plotView(),
                                                         *window()->timeSeriesView());
    _findings = std::make_unique<KNFindingsControls>(*window(), *window()->ui().viewMenu,
                                                     *_exploration, *plotView());
    recomputation.showIn(
        *plotView(), statusReporter(),
        [this] {
            framing->completeOpeningFraming();
            _findings->presenter().pathsDidSettle();
        },
        [this] { _findings->presenter().pathsWillChange(); }, timeSeries.get());
    _timeCursorControls =
        new KNTimeCursorControls(*_exploration, *plotView(), *window()->timeSeriesView(),
                                 window()->ui().toolBar, window()->ui().viewMenu, &connections);
    linkedPaths =
        new KNLinkedPaths(*_exploration, *plotView(), *window()->timeSeriesView(), *timeSeries,
                          _findings->presenter(), statusReporter(), &connections);
    analysis = std::make_unique<KNAnalysisPanels>(*_window, *_exploration, [this] {
        _exploration->recomputeAllSeeds();
        recomputation.start();
    });
    recomputation.setFollower(analysis.get());
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

std::size_t KNPlotWindowController::indexOf(Seed* seed) {
    std::size_t index = 0;
    std::size_t counted = 0;
    plotView()->enumerateSeedsWithBlock([&](Seed* each) {
        if (each == seed) {
            index = counted;
        }
        ++counted;
    });
    return index;
}

void KNPlotWindowController::updateSeed(Seed* seed) {
    _exploration->moveSeed(indexOf(seed), seed->transform.position);
    recomputation.start();
}

void KNPlotWindowController::completeRecomputation() {
    recomputation.complete();
}

void KNPlotWindowController::showAllSeedsRecomputing() {
    const KNSweepKey key = KNSweepKey::describe(system().parameters);
    plotView()->setSweepKey(key.start, key.end);
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
        const std::size_t index = indexOf(seed);
        plotView()->removeSelectedSeed();
        _exploration->removeSeed(index);
        statusReporter()->withdrawRefusal();
        _findings->presenter().pathsDidSettle();
        analysis->seedRemoved(index);
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
    settingsFields->showSettingsInForce();
    if (refusal) {
        statusReporter()->reportRefusal(QString::fromStdString(*refusal));
        return;
    }
    showAllSeedsRecomputing();
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
    if (seed == plotView()->selectedSeed()) {
        seedPositionPanel()->showPosition(seed->transform.position);
    }
}

void KNPlotWindowController::plotViewSeedWasSelected(KNPlotView*, int) {
    removeSeedButton()->setEnabled(true);
    if (const Seed* seed = plotView()->selectedSeed()) {
        seedPositionPanel()->showPosition(seed->transform.position);
    }
    timeSeries->showSelectedSeed();
}

void KNPlotWindowController::plotViewSeedWasDeselected(KNPlotView*, int) {
    removeSeedButton()->setEnabled(false);
    // The view may still name the seed it is about to let go.
    seedPositionPanel()->showPosition(std::nullopt);
    timeSeries->showNoSeed();
}

int KNPlotWindowController::numberOfRowsInTableView(QTableWidget*) {
    return system().parameterCount();
}

QWidget* KNPlotWindowController::tableView(QTableWidget* tableView, int column, int row) {
    return rows->showRow(tableView, column, row, system().parameter(row));
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
    sweepHandles->showParameterSweep(index);
    showAllSeedsRecomputing();
    reloadDataForRowIndexes(sliderTableView(), *this, {index}, {0});
    parameterView()->requestRedraw();
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
    _exploration->setAxisToParameterMapping(axisPopups->mapping());
    sweepHandles->showAxisNames();
    parameterView()->requestRedraw();
    parameterSpaceViewBoundsDidChange(parameterView());
}

void KNPlotWindowController::parameterSpaceViewBoundsDidChange(KNParameterSpaceView*) {
    _exploration->changeMappedParameters(sweepHandles->starts(), sweepHandles->ends());
    reloadData(sliderTableView(), *this);
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
    return analysis.get();
}
