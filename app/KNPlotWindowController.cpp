#include "KNPlotWindowController.h"

#include "KNDefinitions.h"
#include "KNFanWorkerTools.h"
#include "KNFrameStatistics.h"
#include "KNInitialState.h"
#include "KNJavascriptEngine.h"
#include "KNNumberField.h"
#include "KNParameterField.h"
#include "KNParameterSpaceView.h"
#include "KNParameterTableNavigation.h"
#include "KNParameterTableView.h"
#include "KNPlotView.h"
#include "KNPlotWindow.h"
#include "KNScriptFile.h"
#include "KNSeedPositionPanel.h"
#include "KNStatusReporter.h"
#include "KNSweepKey.h"
#include "KNTableReload.h"
#include "KNWindowKeyCommands.h"
#include "PathDuration.h"
#include "RK4Integrator.h"
#include "Seed.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <cassert>
#include <cmath>
#include <utility>

namespace {

// Long enough for the window to be laid out, so the views draw at their real size.
constexpr int delayedUpdateMilliseconds = 200;

QString numberText(double value) {
    return KNNumberField::shortestText(value);
}

// A whole count with thousands separators, as in "10,000,000,000"; counts too large to spell
// out digit by digit in a double are given in scientific notation.
QString countText(double count) {
    if (count >= 1e15) {
        return QString::number(count, 'g', 3);
    }
    return QString::fromStdString(kinora::groupedCount(count));
}

} // namespace

void KNPlotWindowController::DeleteLater::operator()(KNPlotWindow* window) const {
    window->hide();
    window->deleteLater();
}

KNPlotWindowController::KNPlotWindowController(EvolutionFunction integrable,
                                               const std::vector<std::string>& names,
                                               std::shared_ptr<KNAlertPresenter> alerts)
    : _integrator(std::make_unique<kinora::RK4Integrator>(kinora::defaultIntegrationStep)),
      _pathStepLength(kinora::defaultPathDuration), alerts(std::move(alerts)) {
    kinoraSystem = std::make_unique<KinoraSystem>(integrable, _integrator.get(),
                                                  static_cast<int>(names.size()));
    for (std::size_t i = 0; i < names.size(); ++i) {
        kinoraSystem->parameter(static_cast<int>(i)).name = names[i];
        if (i < _axisToParameterMapping.size()) {
            _axisToParameterMapping[i] = static_cast<std::int32_t>(i);
        }
    }
}

KNPlotWindowController::~KNPlotWindowController() = default;

std::shared_ptr<KNPlotWindowController>
KNPlotWindowController::initWithIntegrable(EvolutionFunction integrable,
                                           const std::vector<std::string>& names,
                                           std::shared_ptr<KNAlertPresenter> alerts) {
    return std::shared_ptr<KNPlotWindowController>(
        new KNPlotWindowController(integrable, names, std::move(alerts)));
}

std::shared_ptr<KNPlotWindowController> KNPlotWindowController::initWithSourceString(
    const std::string& source, std::shared_ptr<KNAlertPresenter> alerts, const std::string& title) {
    KNError error;
    std::shared_ptr<KNJavascriptEngine> engine =
        KNJavascriptEngine::initWithSourceString(source, &error);
    if (!engine) {
        alerts->presentError(error, title);
        return nullptr;
    }
    const std::optional<std::vector<std::string>> names = engine->parameterNamesOrError(&error);
    if (!names) {
        alerts->presentError(error, title);
        return nullptr;
    }
    auto controller = initWithIntegrable(KNJavascriptEngine::integrable(), *names, alerts);
    controller->jsEngine = std::move(engine);
    controller->workerScript = source;
    if (!title.empty()) {
        controller->_title = title;
    }
    controller->_systemSource = KNSystemSource{KNSystemSource::Kind::script, title, source};
    return controller;
}

std::shared_ptr<KNPlotWindowController>
KNPlotWindowController::initWithContentsOfURL(const QUrl& url,
                                              std::shared_ptr<KNAlertPresenter> alerts) {
    const std::string name = url.fileName().toStdString();
    // A file URL naming another computer is not a local file either.
    if (!url.isLocalFile() || !url.host().isEmpty()) {
        alerts->presentError({"KNJavascriptErrorDomain", 0,
                              "Cannot open \"" + url.toDisplayString().toStdString() +
                                  "\": only local files can be opened."},
                             name);
        return nullptr;
    }
    KNError error;
    const std::optional<std::string> source =
        readScriptFile(url.toLocalFile().toStdString(), &error);
    if (!source) {
        alerts->presentError(error, name);
        return nullptr;
    }
    return initWithSourceString(*source, std::move(alerts), name);
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
    for (const kinora::Parameter& parameter : kinoraSystem->parameters) {
        for (QComboBox* popup : popups) {
            popup->addItem(QString::fromStdString(parameter.name));
        }
    }
    for (std::size_t axis = 0; axis < std::size(popups); ++axis) {
        popups[axis]->setCurrentIndex(_axisToParameterMapping[axis] + 1);
    }

    plotView()->setDelegate(std::weak_ptr<KNPlotViewDelegate>(shared_from_this()));
    parameterView()->setDelegate(std::weak_ptr<KNParameterSpaceViewDelegate>(shared_from_this()));
    reloadData(sliderTableView(), *this);
    showAxisNames();
    // The rows stay for the window's life: one parameter list, refilled in place.
    (new KNParameterTableNavigation(sliderTableView(), &connections))->chainFields();
    KNInitialState::apply(*this, openingDeclaration ? *openingDeclaration
                                 : jsEngine         ? jsEngine->initialDeclaration()
                                                    : kinora::InitialDeclaration());
    placeOpeningCameras();

    if (_title) {
        _window->setWindowTitle(QString::fromStdString(*_title));
    }
    evolutionsControl()->setDoubleValue(static_cast<double>(_evolutionCount));
    integrationStepControl()->setDoubleValue(_integrator->integrationStep());
    pathDurationControl()->setDoubleValue(_pathStepLength);
    connectControls();

    // The views have their laid-out size now: the opening framing is made again at that size,
    // and it is what Reset View returns to.
    QTimer::singleShot(delayedUpdateMilliseconds, &connections, [self = shared_from_this()] {
        self->plotView()->update();
        self->parameterView()->update();
        self->placeOpeningCameras();
        self->plotView()->rememberOpeningCamera();
        self->parameterView()->rememberOpeningCamera();
    });
}

void KNPlotWindowController::setAxisToParameterMapping(const std::array<std::int32_t, 3>& mapping) {
    assert(!_window && "the pop-ups are filled when the window loads");
    _axisToParameterMapping = mapping;
}

void KNPlotWindowController::setOpeningDeclaration(kinora::InitialDeclaration declaration) {
    assert(!_window && "the window starts as declared when it loads");
    openingDeclaration = std::move(declaration);
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
    evolutionsControl()->setCheck([this](double count) { return evolutionsRefusal(count); });
    integrationStepControl()->setCheck(
        [this](double step) { return integrationStepRefusal(step); });
    QObject::connect(evolutionsControl(), &KNNumberField::valueEntered, &connections,
                     [this](double count) { changeEvolutions(static_cast<int>(count)); });
    QObject::connect(integrationStepControl(), &KNNumberField::valueEntered, &connections,
                     [this](double step) { changeIntegrationStep(step); });
    pathDurationControl()->setCheck(
        [this](double duration) { return pathDurationRefusal(duration); });
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

void KNPlotWindowController::blankPaths(Seed* seed, std::size_t first, std::size_t end) {
    static constexpr float blankVertex[6] = {0, 0, 0, 0, 0, 0};
    static constexpr std::uint32_t blankIndex[1] = {0};
    for (std::size_t m = first; m < std::min(end, seed->pathIDs.size()); ++m) {
        plotView()->replacePathWithID(seed->pathIDs[m], blankVertex, blankIndex, 1, 1, 0.0f);
    }
}

void KNPlotWindowController::updateSeed(Seed* seed) {
    // A seed moved while others are still computing joins that recomputation and its report.
    if (!recomputation.isRunning()) {
        report.clear();
    }
    // A seed being dragged goes first: its fan is what the user looks at.
    queueFan(seed, true);
    startRecomputation();
}

void KNPlotWindowController::startRecomputation() {
    recomputation.start(
        [this](KNRecomputation::Clock::time_point deadline) { return recomputeUntil(deadline); });
}

bool KNPlotWindowController::hasSeed(Seed* seed) {
    bool found = false;
    plotView()->enumerateSeedsWithBlock([&](Seed* each) { found = found || each == seed; });
    return found;
}

KNPlotWindowController::FanShape KNPlotWindowController::fanShape(Seed* seed) const {
    const std::optional<std::int32_t> vertexCount =
        kinora::trajectoryVertexCount(_pathStepLength, _integrator->integrationStep());
    const auto evolutions = static_cast<std::int32_t>(
        vertexCount ? std::min<std::int64_t>(_evolutionCount,
                                             static_cast<std::int64_t>(seed->pathIDs.size()))
                    : 0);
    return {evolutions, vertexCount.value_or(0)};
}

KNTrajectorySnapshot KNPlotWindowController::trajectorySnapshot() {
    KNTrajectorySnapshot snapshot;
    snapshot.parameters = kinoraSystem->parameters;
    snapshot.evolution = kinoraSystem->evolution;
    snapshot.engine = jsEngine;
    snapshot.step = _integrator->integrationStep();
    snapshot.vertexCount =
        kinora::trajectoryVertexCount(_pathStepLength, snapshot.step).value_or(0);
    plotView()->enumerateSeedsWithBlock([&](Seed* seed) {
        snapshot.seeds.push_back({seed->transform.position, fanShape(seed).evolutions});
    });
    return snapshot;
}

void KNPlotWindowController::completeRecomputation() {
    if (recomputation.isRunning()) {
        recomputation.cancel();
        recomputeUntil(KNRecomputation::Clock::time_point::max());
    }
}

kinora::ParallelFans& KNPlotWindowController::fanComputation() {
    if (!fans) {
        fans = std::make_unique<kinora::ParallelFans>(
            fanWorkerTools(kinoraSystem->evolution, kinoraSystem->parameterCount(), workerScript),
            kinora::ParallelFans::coreCount());
    }
    return *fans;
}

void KNPlotWindowController::queueFan(Seed* seed, bool first) {
    for (auto queued = queuedFans.begin(); queued != queuedFans.end();) {
        if (queued->second.seed == seed) {
            fanComputation().drop(queued->first);
            queued = queuedFans.erase(queued);
        } else {
            ++queued;
        }
    }
    const FanShape shape = fanShape(seed);
    pathBounds[seed] = kinora::BoundingBox();
    // Only the paths beyond the evolutions are blanked: the others are replaced as they are
    // computed, and blanking them too would reallocate their buffers twice per drag event.
    blankPaths(seed, static_cast<std::size_t>(shape.evolutions), seed->pathIDs.size());
    kinora::FanJob job{seed->transform.position, shape.evolutions, shape.vertexCount,
                       kinoraSystem->parameters, _integrator->integrationStep()};
    queuedFans.emplace(fanComputation().submit(std::move(job), first), QueuedFan{seed});
    queuedPaths += shape.evolutions;
}

void KNPlotWindowController::dropQueuedFans() {
    if (fans) {
        fans->dropAll();
    }
    queuedFans.clear();
    queuedPaths = 0;
    shownPaths = 0;
    blankedAhead = false;
}

void KNPlotWindowController::blankPathsAhead() {
    if (std::exchange(blankedAhead, true)) {
        return;
    }
    for (const auto& [ticket, queued] : queuedFans) {
        if (!queued.begun && hasSeed(queued.seed)) {
            blankPaths(queued.seed, 0, static_cast<std::size_t>(fanShape(queued.seed).evolutions));
        }
    }
}

void KNPlotWindowController::showPaths(Seed* seed, const kinora::SeedFan& fan, std::int32_t from,
                                       std::int32_t to) {
    const int seedNumber = numberOf(seed);
    kinora::BoundingBox& bounds = pathBounds[seed];
    for (std::int32_t m = from; m < to; ++m) {
        const kinora::FanPath& path = fan.path(m);
        for (const kinora::PathVertex& vertex : path.vertices) {
            bounds.add({vertex.position[0], vertex.position[1], vertex.position[2]});
        }
        plotView()->replacePathWithID(seed->pathIDs[static_cast<std::size_t>(m)],
                                      reinterpret_cast<const float*>(path.vertices.data()),
                                      fan.indices().data(), fan.vertexCount(), fan.vertexCount(),
                                      static_cast<float>(path.s));
        report.add(seedNumber, seed->transform.position, path.s, *kinoraSystem, path.outcome);
        // The system holds the values of the evolution shown last, as if computed here.
        kinora::setParametersAtSweepFraction(*kinoraSystem, path.s);
    }
}

bool KNPlotWindowController::recomputeUntil(KNRecomputation::Clock::time_point deadline) {
    // The workers compute; this thread waits for their paths and hands them to the view.
    KNFrameStatistics::Clock::duration showing{};
    const KNStopwatch waiting;
    const bool done = fanComputation().deliver(
        [&](std::uint64_t ticket, const kinora::SeedFan& fan, std::int32_t from, std::int32_t to,
            bool complete) {
            const KNStopwatch handing;
            const auto queued = queuedFans.find(ticket);
            // A seed removed since it was queued is skipped.
            if (queued != queuedFans.end() && hasSeed(queued->second.seed)) {
                queued->second.begun = true;
                showPaths(queued->second.seed, fan, from, to);
            }
            shownPaths += to - from;
            if (complete && queued != queuedFans.end()) {
                queuedFans.erase(queued);
            }
            showing += handing.elapsed();
            return KNRecomputation::Clock::now() < deadline;
        },
        deadline);
    KNFrameStatistics::addCompute(waiting.elapsed() - showing);
    if (!done) {
        // Progress pictures show the new paths only, and so draw just those computed since.
        blankPathsAhead();
        // Counted in paths, so even a single slow seed shows its progress.
        statusReporter()->reportProgress(static_cast<int>(shownPaths),
                                         static_cast<int>(queuedPaths));
        // A picture still being drawn in slices is finished first: starting it again after
        // every slice of work would never show the paths beyond its first slice.
        if (!plotView()->isDrawing()) {
            plotView()->requestRedraw();
        }
        return false;
    }
    finishRecomputation();
    return true;
}

void KNPlotWindowController::finishRecomputation() {
    dropQueuedFans();
    statusReporter()->endProgress();
    reportOutcome();
    plotView()->requestRedraw();
}

int KNPlotWindowController::numberOf(Seed* seed) {
    int number = 0;
    int counted = 0;
    plotView()->enumerateSeedsWithBlock([&](Seed* each) {
        ++counted;
        if (each == seed) {
            number = counted;
        }
    });
    return number;
}

void KNPlotWindowController::updateAllSeeds() {
    const KNSweepKey key = KNSweepKey::describe(kinoraSystem->parameters);
    plotView()->setSweepKey(key.start, key.end);
    report.clear();
    dropQueuedFans();
    plotView()->enumerateSeedsWithBlock([this](Seed* seed) { queueFan(seed, false); });
    startRecomputation();
}

void KNPlotWindowController::reportOutcome() {
    // One status message per recomputation, however many paths met a problem, and no alert:
    // a drag recomputes on every event.
    statusReporter()->reportRecomputation(report.message());
}

void KNPlotWindowController::addSeed() {
    KNFrameStatistics::beginEvent("add");
    if (const std::optional<QString> refusal = windowPointsRefusal(
            seedCount() + 1, _evolutionCount, _integrator->integrationStep(), _pathStepLength)) {
        statusReporter()->reportRefusal(QObject::tr("No seed was added: %1").arg(*refusal));
        return;
    }
    Seed* seed = plotView()->addSeed();
    updateSeed(seed);
    // Selected, so its coordinates can be typed at once.
    plotView()->selectSeed(seed);
    plotView()->requestRedraw();
}

void KNPlotWindowController::removeSeed() {
    KNFrameStatistics::beginEvent("remove");
    plotView()->removeSelectedSeed();
    plotView()->requestRedraw();
}

std::optional<QString> KNPlotWindowController::windowPointsRefusal(std::int64_t seeds,
                                                                   std::int64_t evolutions,
                                                                   double step, double duration) {
    const std::optional<std::int32_t> points = kinora::trajectoryVertexCount(duration, step);
    if (!points) {
        return std::nullopt;
    }
    if (const std::optional<std::string> problem =
            kinora::windowPointsProblem(seeds, evolutions, *points)) {
        return QString::fromStdString(*problem + ".");
    }
    return std::nullopt;
}

int KNPlotWindowController::seedCount() {
    int count = 0;
    plotView()->enumerateSeedsWithBlock([&count](Seed*) { ++count; });
    return count;
}

std::optional<QString> KNPlotWindowController::evolutionsRefusal(double count) {
    if (count != std::trunc(count)) {
        return QObject::tr("The number of evolutions must be a whole number; %1 is not.")
            .arg(numberText(count));
    }
    if (count < 0 || count > static_cast<double>(maxEvolutionCount)) {
        return QObject::tr("A seed has %1 paths, so evolutions go from 0 to %1; %2 is outside.")
            .arg(maxEvolutionCount)
            .arg(numberText(count));
    }
    return windowPointsRefusal(seedCount(), static_cast<std::int64_t>(count),
                               _integrator->integrationStep(), _pathStepLength);
}

std::optional<QString> KNPlotWindowController::integrationStepRefusal(double step) {
    const double pathLength = _pathStepLength;
    if (kinora::trajectoryVertexCount(pathLength, step)) {
        return windowPointsRefusal(seedCount(), _evolutionCount, step, pathLength);
    }
    if (!std::isfinite(step) || step <= 0.0) {
        return QObject::tr("The step must be a positive number; %1 is not.").arg(numberText(step));
    }
    const double count = std::trunc(pathLength / step);
    if (count < 1.0) {
        return QObject::tr("A step of %1 is longer than a path, which covers %2 time units; the "
                           "longest step is %2.")
            .arg(numberText(step), numberText(pathLength));
    }
    return QObject::tr("A step of %1 would give %2 points per path; the most is %3.")
        .arg(numberText(step), countText(count), countText(kinora::maxTrajectoryVertices));
}

void KNPlotWindowController::changeEvolutions(int count) {
    KNFrameStatistics::beginEvent("evolutions");
    if (const std::optional<QString> refusal = evolutionsRefusal(count)) {
        statusReporter()->reportRefusal(*refusal);
    } else {
        _evolutionCount = count;
    }
    evolutionsControl()->setDoubleValue(static_cast<double>(_evolutionCount));
    if (_evolutionCount != count) {
        return;
    }
    updateAllSeeds();
    plotView()->requestRedraw();
}

void KNPlotWindowController::changeIntegrationStep(double step) {
    KNFrameStatistics::beginEvent("step");
    const std::optional<QString> refusal = integrationStepRefusal(step);
    if (refusal) {
        statusReporter()->reportRefusal(*refusal);
    } else {
        _integrator->setIntegrationStep(step);
    }
    integrationStepControl()->setDoubleValue(_integrator->integrationStep());
    if (refusal) {
        return;
    }
    updateAllSeeds();
    plotView()->requestRedraw();
}

std::optional<QString> KNPlotWindowController::pathDurationRefusal(double duration) {
    return integrationRefusal(_integrator->integrationStep(), duration);
}

std::optional<QString> KNPlotWindowController::integrationRefusal(double step, double duration) {
    const std::optional<std::string> problem = kinora::pathDurationProblem(duration, step);
    if (!problem) {
        return windowPointsRefusal(seedCount(), _evolutionCount, step, duration);
    }
    return QString::fromStdString("A duration of " + kinora::formatNumber(duration) + " " +
                                  *problem + ".");
}

void KNPlotWindowController::changePathDuration(double duration) {
    const std::optional<QString> refusal = pathDurationRefusal(duration);
    if (refusal) {
        statusReporter()->reportRefusal(*refusal);
    } else {
        _pathStepLength = duration;
    }
    pathDurationControl()->setDoubleValue(_pathStepLength);
    if (refusal) {
        return;
    }
    updateAllSeeds();
    plotView()->requestRedraw();
}

std::optional<QString> KNPlotWindowController::changeIntegration(double step, double duration) {
    const std::optional<QString> refusal = integrationRefusal(step, duration);
    if (!refusal) {
        _integrator->setIntegrationStep(step);
        _pathStepLength = duration;
    }
    integrationStepControl()->setDoubleValue(_integrator->integrationStep());
    pathDurationControl()->setDoubleValue(_pathStepLength);
    if (refusal) {
        return refusal;
    }
    updateAllSeeds();
    plotView()->requestRedraw();
    return std::nullopt;
}

void KNPlotWindowController::cancelOperation() {
    if (exports.cancel()) {
        return;
    }
    // Escape first stops a long recomputation: the paths computed so far stay.
    if (recomputation.isRunning()) {
        recomputation.cancel();
        finishRecomputation();
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
    return kinoraSystem->parameterCount();
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
    const kinora::Parameter& parameter = kinoraSystem->parameter(row);
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
    changeParameterBound(sender,
                         {&kinora::Parameter::setMin, &KNParameterSpaceView::setStartValue});
}

void KNPlotWindowController::changeParameterEnd(KNParameterField* sender) {
    changeParameterBound(sender, {&kinora::Parameter::setMax, &KNParameterSpaceView::setEndValue});
}

void KNPlotWindowController::changeParameterBound(KNParameterField* sender, SweepBound bound) {
    KNFrameStatistics::beginEvent("edit");
    const int index = sender->tag();
    if (index < 0 || index >= kinoraSystem->parameterCount()) {
        return;
    }
    storeParameterBound(index, sender->doubleValue(), bound);
    parameterSweepDidChange(index);
}

void KNPlotWindowController::changeParameterSweep(int index, double start, double end) {
    if (index < 0 || index >= kinoraSystem->parameterCount()) {
        return;
    }
    storeParameterBound(index, start,
                        {&kinora::Parameter::setMin, &KNParameterSpaceView::setStartValue});
    storeParameterBound(index, end,
                        {&kinora::Parameter::setMax, &KNParameterSpaceView::setEndValue});
    parameterSweepDidChange(index);
}

void KNPlotWindowController::parameterSweepDidChange(int index) {
    updateAllSeeds();
    reloadDataForRowIndexes(sliderTableView(), *this, {index}, {0});
    plotView()->requestRedraw();
    parameterView()->requestRedraw();
}

void KNPlotWindowController::storeParameterBound(int index, double value, SweepBound bound) {
    (kinoraSystem->parameter(index).*bound.storeIntoParameter)(value);
    for (int axis = 0; axis < static_cast<int>(_axisToParameterMapping.size()); ++axis) {
        if (_axisToParameterMapping[static_cast<std::size_t>(axis)] == index) {
            (parameterView()->*bound.moveHandle)(value, axis);
        }
    }
}

kinora::BoundingBox KNPlotWindowController::plotBounds() {
    std::unordered_map<const Seed*, kinora::BoundingBox> current;
    kinora::BoundingBox box;
    plotView()->enumerateSeedsWithBlock([&](Seed* seed) {
        box.add(seed->transform.position);
        const auto bounds = pathBounds.find(seed);
        if (bounds != pathBounds.end()) {
            box.add(bounds->second);
            current.insert(*bounds);
        }
    });
    // Removed seeds are forgotten here rather than on every removal.
    pathBounds = std::move(current);
    return box;
}

kinora::BoundingBox KNPlotWindowController::handleBounds() {
    kinora::BoundingBox box;
    KNParameterSpaceView* view = parameterView();
    box.add({view->minValueForAxis(0), view->minValueForAxis(1), view->minValueForAxis(2)});
    box.add({view->maxValueForAxis(0), view->maxValueForAxis(1), view->maxValueForAxis(2)});
    return box;
}

void KNPlotWindowController::fitViews() {
    plotView()->frameBox(plotBounds(), 0.1);
    // Room for the values written beside the handles.
    parameterView()->frameBox(handleBounds(), 1.0);
    plotView()->requestRedraw();
    parameterView()->requestRedraw();
}

void KNPlotWindowController::resetViews() {
    plotView()->resetView();
    parameterView()->resetView();
    plotView()->requestRedraw();
    parameterView()->requestRedraw();
}

void KNPlotWindowController::changeParameterMapping() {
    KNFrameStatistics::beginEvent("mapping");
    _axisToParameterMapping = {xPopupButton()->currentIndex() - 1,
                               yPopupButton()->currentIndex() - 1,
                               zPopupButton()->currentIndex() - 1};
    showAxisNames();
    parameterView()->requestRedraw();
    parameterSpaceViewBoundsDidChange(parameterView());
}

void KNPlotWindowController::parameterSpaceViewBoundsDidChange(KNParameterSpaceView* view) {
    for (int axis = 0; axis < static_cast<int>(_axisToParameterMapping.size()); ++axis) {
        const std::int32_t index = _axisToParameterMapping[static_cast<std::size_t>(axis)];
        if (index < 0 || index >= kinoraSystem->parameterCount()) {
            continue;
        }
        kinora::Parameter& parameter = kinoraSystem->parameter(index);
        parameter.setMin(view->minValueForAxis(axis));
        parameter.setMax(view->maxValueForAxis(axis));
    }
    reloadData(sliderTableView(), *this);
    updateAllSeeds();
    plotView()->requestRedraw();
}

void KNPlotWindowController::showAxisNames() {
    std::array<QString, 3> names;
    for (std::size_t axis = 0; axis < names.size(); ++axis) {
        const std::int32_t index = _axisToParameterMapping[axis];
        if (index >= 0 && index < kinoraSystem->parameterCount()) {
            names[axis] = QString::fromStdString(kinoraSystem->parameter(index).name);
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
