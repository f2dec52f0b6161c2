#include "KNPlotWindowController.h"

#include "KNAnalysisPanels.h"
#include "KNDocumentOpener.h"
#include "KNFrameStatistics.h"
#include "KNNumberField.h"
#include "KNParameterField.h"
#include "KNParameterSpaceView.h"
#include "KNParameterTableNavigation.h"
#include "KNParameterTableView.h"
#include "KNPlotCameraActions.h"
#include "KNPlotView.h"
#include "KNPlotWindow.h"
#include "KNSeedPositionPanel.h"
#include "KNStatusReporter.h"
#include "KNSweepKey.h"
#include "KNTableReload.h"
#include "KNWindowKeyCommands.h"
#include "Seed.h"

#include <QComboBox>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <cassert>
#include <iterator>
#include <utility>

static_assert(KNPlotView::pathsPerSeed == KNPlotWindowController::maxEvolutionCount,
              "every evolution has a path of its seed to be drawn in");

namespace {

// Long enough for the window to be laid out, so the views draw at their real size.
constexpr int delayedUpdateMilliseconds = 200;

std::optional<QString> text(const std::optional<std::string>& refusal) {
    if (!refusal) {
        return std::nullopt;
    }
    return QString::fromStdString(*refusal);
}

} // namespace

void KNPlotWindowController::DeleteLater::operator()(KNPlotWindow* window) const {
    window->hide();
    window->deleteLater();
}

KNPlotWindowController::KNPlotWindowController(std::unique_ptr<kinora::Exploration> exploration,
                                               std::shared_ptr<KNAlertPresenter> alerts)
    : _exploration(std::move(exploration)), alerts(std::move(alerts)) {}

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
        controller->window()->resize(session->windowWidth, session->windowHeight);
        // The window's layout sizes the views once it is shown; until then they take the sizes
        // they were saved at.
        controller->plotView()->resize(session->plotCamera.width, session->plotCamera.height);
        controller->parameterView()->resize(session->parameterCamera.width,
                                            session->parameterCamera.height);
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
    QComboBox* popups[] = {xPopupButton(), yPopupButton(), zPopupButton()};
    for (QComboBox* popup : popups) {
        popup->addItem(QStringLiteral("None"));
    }
    for (const kinora::Parameter& parameter : system().parameters) {
        for (QComboBox* popup : popups) {
            popup->addItem(QString::fromStdString(parameter.name));
        }
    }
    for (std::size_t axis = 0; axis < std::size(popups); ++axis) {
        popups[axis]->setCurrentIndex(axisToParameterMapping()[axis] + 1);
    }

    plotView()->setDelegate(std::weak_ptr<KNPlotViewDelegate>(shared_from_this()));
    parameterView()->setDelegate(std::weak_ptr<KNParameterSpaceViewDelegate>(shared_from_this()));
    reloadData(sliderTableView(), *this);
    showAxisNames();
    // The rows stay for the window's life: one parameter list, refilled in place.
    (new KNParameterTableNavigation(sliderTableView(), &connections))->chainFields();
    showExploration();
    placeOpeningCameras();

    if (_title) {
        _window->setWindowTitle(QString::fromStdString(*_title));
    }
    evolutionsControl()->setDoubleValue(static_cast<double>(evolutionCount()));
    integrationStepControl()->setDoubleValue(integrator().integrationStep());
    pathDurationControl()->setDoubleValue(pathStepLength());
    connectControls();

    opening = true;
    QTimer::singleShot(delayedUpdateMilliseconds, &connections,
                       [self = shared_from_this()] { self->frameLaidOutViews(); });
}

void KNPlotWindowController::frameLaidOutViews() {
    // The views have their laid-out size now: the opening framing is made again at that size,
    // and it is what Reset View returns to.
    opening = false;
    plotView()->update();
    parameterView()->update();
    placeOpeningCameras();
    plotView()->rememberOpeningCamera();
    parameterView()->rememberOpeningCamera();
    // A window opens framed on all its paths, however long they take to compute.
    if (!openingCameras && isRecomputing()) {
        partialOpeningFraming = plotView()->viewCamera().sceneTransform;
    }
}

void KNPlotWindowController::completeOpeningFraming() {
    if (!partialOpeningFraming) {
        return;
    }
    const kinora::Matrix4 framed = partialOpeningFraming->modelMatrix();
    const kinora::Matrix4 now = plotView()->viewCamera().sceneTransform.modelMatrix();
    partialOpeningFraming.reset();
    if (std::equal(std::begin(framed.m), std::end(framed.m), std::begin(now.m))) {
        fitPlotView();
        plotView()->rememberOpeningCamera();
    }
}

void KNPlotWindowController::showExploration() {
    for (std::size_t i = 0; i < _exploration->seedCount(); ++i) {
        plotView()->addSeed()->transform.position = _exploration->seedPosition(i);
    }
    for (int axis = 0; axis < 3; ++axis) {
        const std::int32_t index = axisToParameterMapping()[static_cast<std::size_t>(axis)];
        if (index >= 0 && index < system().parameterCount()) {
            parameterView()->setStartValue(system().parameter(index).min(), axis);
            parameterView()->setEndValue(system().parameter(index).max(), axis);
        }
    }
    // The key shows once a change of the sweep or the settings has recomputed every seed.
    if (_exploration->hasRecomputedAllSeeds()) {
        const KNSweepKey key = KNSweepKey::describe(system().parameters);
        plotView()->setSweepKey(key.start, key.end);
    }
    presenter = std::make_unique<KNRecomputationPresenter>(
        *_exploration, *plotView(), statusReporter(), [this] { completeOpeningFraming(); });
    analysis = std::make_unique<KNAnalysisPanels>(*_window, *_exploration, [this] {
        _exploration->recomputeAllSeeds();
        startRecomputation();
    });
    presenter->setFollower(analysis.get());
    _exploration->setListener(presenter.get());
    // The window shows before the opening's one recomputation of every seed begins.
    if (_exploration->isRecomputing()) {
        recomputation.startLater([this](KNRecomputation::Clock::time_point deadline) {
            return _exploration->advance(deadline);
        });
    }
}

void KNPlotWindowController::setOpeningCameras(const KNViewCamera& plot,
                                               const KNViewCamera& parameter) {
    assert(!_window && "the cameras are placed when the window loads");
    openingCameras = {plot, parameter};
}

void KNPlotWindowController::placeOpeningCameras() {
    if (!openingCameras) {
        fitViews();
        return;
    }
    plotView()->setViewCamera(openingCameras->first);
    parameterView()->setViewCamera(openingCameras->second);
    plotView()->requestRedraw();
    parameterView()->requestRedraw();
}

void KNPlotWindowController::connectControls() {
    QObject::connect(addSeedButton(), &QToolButton::clicked, &connections, [this] { addSeed(); });
    QObject::connect(removeSeedButton(), &QToolButton::clicked, &connections,
                     [this] { removeSeed(); });
    evolutionsControl()->setCheck(
        [this](double count) { return text(_exploration->evolutionsRefusal(count)); });
    integrationStepControl()->setCheck(
        [this](double step) { return text(_exploration->integrationStepRefusal(step)); });
    QObject::connect(evolutionsControl(), &KNNumberField::valueEntered, &connections,
                     [this](double count) { changeEvolutions(static_cast<int>(count)); });
    QObject::connect(integrationStepControl(), &KNNumberField::valueEntered, &connections,
                     [this](double step) { changeIntegrationStep(step); });
    pathDurationControl()->setCheck(
        [this](double duration) { return text(_exploration->pathDurationRefusal(duration)); });
    QObject::connect(pathDurationControl(), &KNNumberField::valueEntered, &connections,
                     [this](double duration) { changePathDuration(duration); });
    for (KNNumberField* field :
         {evolutionsControl(), integrationStepControl(), pathDurationControl()}) {
        QObject::connect(field, &KNNumberField::valueRefused, statusReporter(),
                         &KNStatusReporter::reportRefusal);
    }
    QObject::connect(window()->ui().fitViewAction, &QAction::triggered, &connections,
                     [this] { fitViews(); });
    QObject::connect(window()->ui().resetViewAction, &QAction::triggered, &connections,
                     [this] { resetViews(); });
    const Ui::PlotWindow& ui = window()->ui();
    new KNPlotCameraActions(
        {ui.lookAlongXAction, ui.lookAlongYAction, ui.lookAlongZAction, ui.orthographicAction},
        ui.viewMenu, plotView(), &connections);
    for (QComboBox* popup : {xPopupButton(), yPopupButton(), zPopupButton()}) {
        QObject::connect(popup, &QComboBox::activated, &connections,
                         [this] { changeParameterMapping(); });
    }
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
    for (QObject* target : std::initializer_list<QObject*>{window(), plotView(), parameterView()}) {
        keyCommands->watch(target);
    }
}

void KNPlotWindowController::startRecomputation() {
    recomputation.start([this](KNRecomputation::Clock::time_point deadline) {
        return _exploration->advance(deadline);
    });
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
    startRecomputation();
}

void KNPlotWindowController::completeRecomputation() {
    recomputation.cancel();
    _exploration->completeRecomputation();
}

void KNPlotWindowController::showAllSeedsRecomputing() {
    const KNSweepKey key = KNSweepKey::describe(system().parameters);
    plotView()->setSweepKey(key.start, key.end);
    startRecomputation();
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
    startRecomputation();
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

void KNPlotWindowController::showSettingChange(const std::optional<std::string>& refusal) {
    evolutionsControl()->setDoubleValue(static_cast<double>(evolutionCount()));
    integrationStepControl()->setDoubleValue(integrator().integrationStep());
    pathDurationControl()->setDoubleValue(pathStepLength());
    if (refusal) {
        statusReporter()->reportRefusal(QString::fromStdString(*refusal));
        return;
    }
    showAllSeedsRecomputing();
}

void KNPlotWindowController::cancelOperation() {
    if (exports.cancel()) {
        return;
    }
    // Escape first stops a long recomputation: the paths computed so far stay.
    if (isRecomputing()) {
        recomputation.cancel();
        _exploration->stopRecomputation();
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
}

void KNPlotWindowController::plotViewSeedWasDeselected(KNPlotView*, int) {
    removeSeedButton()->setEnabled(false);
    // The view may still name the seed it is about to let go.
    seedPositionPanel()->showPosition(std::nullopt);
}

int KNPlotWindowController::numberOfRowsInTableView(QTableWidget*) {
    return system().parameterCount();
}

KNParameterTableView* KNPlotWindowController::makeRowView(QTableWidget* tableView, int column,
                                                          int row) {
    if (auto* reused = qobject_cast<KNParameterTableView*>(tableView->cellWidget(row, column))) {
        return reused;
    }
    auto* view =
        new KNParameterTableView(std::weak_ptr<KNParameterTableViewOwner>(shared_from_this()));
    for (KNNumberField* field : {view->minField(), view->maxField()}) {
        QObject::connect(field, &KNNumberField::valueRefused, statusReporter(),
                         &KNStatusReporter::reportRefusal);
    }
    return view;
}

QWidget* KNPlotWindowController::tableView(QTableWidget* tableView, int column, int row) {
    const kinora::Parameter& parameter = system().parameter(row);
    KNParameterTableView* view = makeRowView(tableView, column, row);
    view->nameField()->setText(QString::fromStdString(parameter.name));
    // The fields keep the double and show it in float precision.
    view->minField()->setDoubleValue(parameter.min());
    view->maxField()->setDoubleValue(parameter.max());
    view->maxField()->setTag(row);
    view->minField()->setTag(row);
    return view;
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
    const kinora::Parameter& parameter = system().parameter(index);
    for (int axis = 0; axis < 3; ++axis) {
        if (axisToParameterMapping()[static_cast<std::size_t>(axis)] == index) {
            parameterView()->setStartValue(parameter.min(), axis);
            parameterView()->setEndValue(parameter.max(), axis);
        }
    }
    showAllSeedsRecomputing();
    reloadDataForRowIndexes(sliderTableView(), *this, {index}, {0});
    parameterView()->requestRedraw();
}

kinora::BoundingBox KNPlotWindowController::handleBounds() {
    kinora::BoundingBox box;
    // The origin too: the axes cross there and the handles' lines drop onto its planes.
    box.add({0.0, 0.0, 0.0});
    KNParameterSpaceView* view = parameterView();
    box.add({view->minValueForAxis(0), view->minValueForAxis(1), view->minValueForAxis(2)});
    box.add({view->maxValueForAxis(0), view->maxValueForAxis(1), view->maxValueForAxis(2)});
    return box;
}

void KNPlotWindowController::fitViews() {
    fitPlotView();
    // Room for the values written beside the handles.
    parameterView()->frameBox(handleBounds(), 1.0);
    parameterView()->requestRedraw();
}

void KNPlotWindowController::fitPlotView() {
    plotView()->frameBox(_exploration->plotBounds(), 0.1);
    plotView()->requestRedraw();
}

void KNPlotWindowController::resetViews() {
    plotView()->resetView();
    parameterView()->resetView();
    plotView()->requestRedraw();
    parameterView()->requestRedraw();
}

void KNPlotWindowController::changeParameterMapping() {
    KNFrameStatistics::beginEvent("mapping");
    _exploration->setAxisToParameterMapping({xPopupButton()->currentIndex() - 1,
                                             yPopupButton()->currentIndex() - 1,
                                             zPopupButton()->currentIndex() - 1});
    showAxisNames();
    parameterView()->requestRedraw();
    parameterSpaceViewBoundsDidChange(parameterView());
}

void KNPlotWindowController::parameterSpaceViewBoundsDidChange(KNParameterSpaceView* view) {
    std::array<double, 3> starts{};
    std::array<double, 3> ends{};
    for (int axis = 0; axis < 3; ++axis) {
        starts[static_cast<std::size_t>(axis)] = view->minValueForAxis(axis);
        ends[static_cast<std::size_t>(axis)] = view->maxValueForAxis(axis);
    }
    _exploration->changeMappedParameters(starts, ends);
    reloadData(sliderTableView(), *this);
    showAllSeedsRecomputing();
}

void KNPlotWindowController::showAxisNames() {
    std::array<QString, 3> names;
    for (std::size_t axis = 0; axis < names.size(); ++axis) {
        const std::int32_t index = axisToParameterMapping()[axis];
        if (index >= 0 && index < system().parameterCount()) {
            names[axis] = QString::fromStdString(system().parameter(index).name);
        }
    }
    parameterView()->setAxisNames(names);
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
