#pragma once

#include "BoundingBox.h"
#include "EvolutionFunction.h"
#include "EvolutionOutcome.h"
#include "InitialDeclaration.h"
#include "Integrator.h"
#include "KNAlertPresenter.h"
#include "KNExportRunner.h"
#include "KNParameterSpaceViewDelegate.h"
#include "KNParameterTableViewOwner.h"
#include "KNPlotViewDelegate.h"
#include "KNRecomputation.h"
#include "KNRecomputationReport.h"
#include "KNSession.h"
#include "KNTableViewDataSource.h"
#include "KNTrajectorySnapshot.h"
#include "KinoraSystem.h"
#include "ParallelFans.h"
#include "PathDuration.h"
#include "SeedFan.h"
#include "Trajectory.h"

#include <QObject>
#include <QUrl>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class KNJavascriptEngine;
class KNNumberField;
class KNParameterField;
class KNParameterSpaceView;
class KNParameterTableView;
class KNPlotView;
class KNPlotWindow;
class KNSeedPositionPanel;
class KNStatusReporter;
class QComboBox;
class QString;
class QTableWidget;
class QToolButton;
class Seed;

// The controller of one plot window: owns the system, its integrator and, for a script, its
// engine, and turns every seed of the plot view into one trajectory per step of the parameter
// sweep. It also fills the parameter table and keeps the parameters' sweep, the handles of the
// parameter-space view and the table in step. Main thread only.
class KNPlotWindowController : public KNPlotViewDelegate,
                               public KNParameterSpaceViewDelegate,
                               public KNParameterTableViewOwner,
                               public KNTableViewDataSource,
                               public std::enable_shared_from_this<KNPlotWindowController> {
public:
    // The evolution count never exceeds the paths a seed has.
    static constexpr std::int64_t maxEvolutionCount = 20;

    // A system with one default parameter per name; the first three are mapped to x, y and z.
    static std::shared_ptr<KNPlotWindowController>
    initWithIntegrable(EvolutionFunction integrable, const std::vector<std::string>& names,
                       std::shared_ptr<KNAlertPresenter> alerts);
    // A system defined by a script, titled title unless that is empty; on failure shows the
    // error and yields null.
    static std::shared_ptr<KNPlotWindowController>
    initWithSourceString(const std::string& source, std::shared_ptr<KNAlertPresenter> alerts,
                         const std::string& title = {});
    // A system read from a script file, titled with the file name; on failure shows the error
    // and yields null.
    static std::shared_ptr<KNPlotWindowController>
    initWithContentsOfURL(const QUrl& url, std::shared_ptr<KNAlertPresenter> alerts);

    ~KNPlotWindowController() override;
    KNPlotWindowController(const KNPlotWindowController&) = delete;
    KNPlotWindowController& operator=(const KNPlotWindowController&) = delete;

    // Loads the window on first use: views, their awakeFromNib, then windowDidLoad.
    KNPlotWindow* window();
    bool isWindowLoaded() const { return _window != nullptr; }
    void showWindow();

    // Recomputes every trajectory of seed: at once as far as the first slice of the
    // recomputation goes, the rest from the event loop (KNRecomputation), paths handed to the
    // view as they are done. A seed already being recomputed starts over; a seed moved while
    // others are still computing joins their recomputation and its report.
    void updateSeed(Seed* seed);
    // Whether a recomputation still has work left; Escape (cancelOperation) stops it.
    bool isRecomputing() const { return recomputation.isRunning(); }
    // What every trajectory the window shows is computed from, as it stands now, whether or
    // not a recomputation is still at work.
    KNTrajectorySnapshot trajectorySnapshot();
    // Finishes a recomputation still at work at once, so every path is there (for an export
    // with no window to keep answering).
    void completeRecomputation();
    // Runs the window's exports; Escape (cancelOperation) stops them.
    KNExportRunner& exportRunner() { return exports; }

    // Actions of the window's controls.
    void addSeed();
    void removeSeed();
    // Escape: stops a running export, else a recomputation still at work, otherwise deselects
    // the selected seed. The one place that decides what Escape cancels.
    void cancelOperation();
    // The seed position panel's action: moves the selected seed to position and recomputes its
    // trajectories as a drag does.
    void moveSelectedSeed(kinora::Vector3 position);
    // 0 ... maxEvolutionCount; 0 leaves every path blank. Any other count is refused: the
    // status bar says why, nothing is recomputed and the control shows the count in force.
    void changeEvolutions(int count);
    // A step that is not positive and finite, or that would give a path no point or more points
    // than the core allows, is refused the same way.
    void changeIntegrationStep(double step);
    // Sets the time each path covers; a duration that is not positive and finite, or that the
    // step cannot serve within the vertex cap, is refused the same way.
    void changePathDuration(double duration);
    // Sets step and duration together, so a pair that is only usable as a pair can be set; on
    // refusal nothing changes and the reason is returned. Recomputes every seed and redraws.
    std::optional<QString> changeIntegration(double step, double duration);
    // Sets a parameter's sweep as two table edits do: the parameter, the handles on the axes
    // showing it, its row, every seed's paths, both views. An index that names no parameter
    // changes nothing.
    void changeParameterSweep(int index, double start, double end);

    // Places each view's scene so that everything it shows is in the picture: the plot view its
    // seeds and every finite path point, the parameter-space view both handles. Redraws.
    void fitViews();
    // Both views return to their camera of when the window opened. Redraws.
    void resetViews();

    // Why count, step or duration cannot be taken, or nothing when it can.
    std::optional<QString> evolutionsRefusal(double count);
    // Why seeds with evolutions paths of the given step and duration are more points than a
    // window holds, or nothing.
    std::optional<QString> windowPointsRefusal(std::int64_t seeds, std::int64_t evolutions,
                                               double step, double duration);
    int seedCount();
    std::optional<QString> integrationStepRefusal(double step);
    // Why paths of duration at step cannot be computed for this window, or nothing.
    std::optional<QString> integrationRefusal(double step, double duration);
    std::optional<QString> pathDurationRefusal(double duration);

    void plotViewSeedWasMoved(KNPlotView* view, Seed* seed) override;
    void plotViewSeedWasSelected(KNPlotView* view, int unused) override;
    void plotViewSeedWasDeselected(KNPlotView* view, int unused) override;

    // The parameter table: one row per parameter, each a KNParameterTableView.
    int numberOfRowsInTableView(QTableWidget* tableView) override;
    QWidget* tableView(QTableWidget* tableView, int column, int row) override;

    // A table edit: the sender's tag names the parameter and its doubleValue is the new start
    // (end), stored unchanged. Then every seed is recomputed, the handle moves on each axis
    // showing that parameter, the row shows the stored values and both views redraw. A tag
    // that names no parameter changes nothing.
    void changeParameterStart(KNParameterField* sender) override;
    void changeParameterEnd(KNParameterField* sender) override;
    // Maps each axis to the parameter its pop-up selects (item 0, "None", maps none); the newly
    // mapped parameters take the handles' coordinates.
    void changeParameterMapping();
    // After a handle drag (or a remap): every mapped parameter takes the handles' coordinates
    // on its axis, visited x, y, z, then the table reloads and every seed is recomputed.
    void parameterSpaceViewBoundsDidChange(KNParameterSpaceView* view) override;

    KinoraSystem& system() { return *kinoraSystem; }
    const kinora::Integrator& integrator() const { return *_integrator; }
    double pathStepLength() const { return _pathStepLength; }
    std::int64_t evolutionCount() const { return _evolutionCount; }
    const std::array<std::int32_t, 3>& axisToParameterMapping() const {
        return _axisToParameterMapping;
    }
    const std::optional<std::string>& title() const { return _title; }
    bool hasScriptEngine() const { return jsEngine != nullptr; }
    // Where the system came from; a controller made from a bare evolution function has none
    // and cannot be saved.
    const std::optional<KNSystemSource>& systemSource() const { return _systemSource; }
    void setSystemSource(KNSystemSource source) { _systemSource = std::move(source); }

    // How the window starts, for a caller that sets it up before the window loads (a restored
    // session): the axis mapping, a declaration that takes the place of the script's own (its
    // values must be ones the window accepts) and the cameras, which then replace the fitted
    // ones and are what Reset View returns to.
    void setAxisToParameterMapping(const std::array<std::int32_t, 3>& mapping);
    void setOpeningDeclaration(kinora::InitialDeclaration declaration);
    void setOpeningCameras(const KNViewCamera& plot, const KNViewCamera& parameter);
    // What the paths of the latest recomputation ran into, all its seeds together.
    const kinora::RecomputationOutcome& lastOutcome() const { return report.outcome(); }

    // The window's interface objects; each loads the window if needed.
    KNPlotView* plotView();
    KNParameterSpaceView* parameterView();
    QTableWidget* sliderTableView();
    QToolButton* addSeedButton();
    QToolButton* removeSeedButton();
    QComboBox* xPopupButton();
    QComboBox* yPopupButton();
    QComboBox* zPopupButton();
    KNNumberField* evolutionsControl();
    KNNumberField* integrationStepControl();
    KNNumberField* pathDurationControl();
    KNStatusReporter* statusReporter();
    KNSeedPositionPanel* seedPositionPanel();

private:
    KNPlotWindowController(EvolutionFunction integrable, const std::vector<std::string>& names,
                           std::shared_ptr<KNAlertPresenter> alerts);

    void windowDidLoad();
    // The cameras a session gave, else the fitted ones.
    void placeOpeningCameras();
    void connectControls();
    // One user action's recomputation of every seed; what its paths ran into is reported once.
    void updateAllSeeds();
    // Names the parameter-space view's axes after the mapped parameters.
    void showAxisNames();
    // Runs the recomputation of the queued fans, superseding any running one.
    void startRecomputation();
    // The window's workers, started on first use.
    kinora::ParallelFans& fanComputation();
    // Queues seed's fan (first: before the others), dropping one queued for it before.
    void queueFan(Seed* seed, bool first);
    void dropQueuedFans();
    // Once a recomputation outlasts its first slice: the paths of the fans not begun yet are
    // left blank until computed.
    void blankPathsAhead();
    void reportOutcome();
    // One slice of the running recomputation, up to deadline; true when every seed is done.
    bool recomputeUntil(KNRecomputation::Clock::time_point deadline);
    bool hasSeed(Seed* seed);
    // The evolutions and vertices per path a fan of seed has now.
    struct FanShape {
        std::int32_t evolutions;
        std::int32_t vertexCount;
    };
    FanShape fanShape(Seed* seed) const;
    // Hands paths from ... to - 1 of seed's fan to the view.
    void showPaths(Seed* seed, const kinora::SeedFan& fan, std::int32_t from, std::int32_t to);
    void finishRecomputation();
    // The seed's place in the plot view's list, counted from 1 as the user counts them.
    int numberOf(Seed* seed);
    // The table's row view for row, reused when the cell already has one.
    KNParameterTableView* makeRowView(QTableWidget* tableView, int column, int row);
    // What a start or an end edit writes: the parameter's bound and the matching handle.
    struct SweepBound {
        void (kinora::Parameter::*storeIntoParameter)(double);
        void (KNParameterSpaceView::*moveHandle)(double, int);
    };
    void changeParameterBound(KNParameterField* sender, SweepBound bound);
    // Stores a start or end value and moves the handle of every axis showing the parameter.
    // Recomputes every seed and shows the new sweep in the table row and both views.
    void parameterSweepDidChange(int index);
    void storeParameterBound(int index, double value, SweepBound bound);
    // The box of every seed and every finite point of its paths.
    kinora::BoundingBox plotBounds();
    // The box of the two handles.
    kinora::BoundingBox handleBounds();
    // Leaves the paths first ... end - 1 of seed blank.
    void blankPaths(Seed* seed, std::size_t first, std::size_t end);

    // Declared before the integrator, so the integrator is deleted first, then the system.
    std::unique_ptr<KinoraSystem> kinoraSystem;
    std::unique_ptr<kinora::Integrator> _integrator;
    double _pathStepLength;
    std::int64_t _evolutionCount = kinora::defaultEvolutions;
    std::shared_ptr<KNJavascriptEngine> jsEngine;
    std::optional<std::string> _title;
    std::array<std::int32_t, 3> _axisToParameterMapping{-1, -1, -1};
    std::optional<KNSystemSource> _systemSource;
    std::optional<kinora::InitialDeclaration> openingDeclaration;
    std::optional<std::pair<KNViewCamera, KNViewCamera>> openingCameras;
    // The script's text, from which every worker makes an engine of its own; none for a
    // built-in system.
    std::optional<std::string> workerScript;
    // The same outcomes, told to the user once per recomputation.
    KNRecomputationReport report;
    // Where each seed's paths reach, kept up to date as paths are shown, for fitting the view.
    std::unordered_map<const Seed*, kinora::BoundingBox> pathBounds;
    // The running recomputation: the fans queued on the workers with their seeds, and how
    // many of their paths were queued and have been shown, for its progress.
    KNRecomputation recomputation;
    struct QueuedFan {
        Seed* seed;
        // Whether any of its paths were shown.
        bool begun = false;
    };
    std::unordered_map<std::uint64_t, QueuedFan> queuedFans;
    bool blankedAhead = false;
    std::int64_t queuedPaths = 0;
    std::int64_t shownPaths = 0;

    std::shared_ptr<KNAlertPresenter> alerts;
    // Dropped with the controller, so no export outlives its window.
    KNExportRunner exports;
    // Context of every connection to the window's controls, so none outlives the controller.
    QObject connections;
    // Deleted later, not at once: the controller may go inside its window's own close event.
    struct DeleteLater {
        void operator()(KNPlotWindow* window) const;
    };
    std::unique_ptr<KNPlotWindow, DeleteLater> _window;
    // Declared last, so its workers stop before anything they were given goes.
    std::unique_ptr<kinora::ParallelFans> fans;
};
