#pragma once

#include "EvolutionFunction.h"
#include "Exploration.h"
#include "KNAlertPresenter.h"
#include "KNExportRunner.h"
#include "KNOpenedDocument.h"
#include "KNParameterSpaceViewDelegate.h"
#include "KNParameterTableViewOwner.h"
#include "KNPlotViewDelegate.h"
#include "KNTableViewDataSource.h"
#include "KNViewCamera.h"
#include "KNWindowRecomputation.h"

#include <QObject>
#include <QUrl>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class KNAnalysisPanels;
class KNLinkedPaths;
class KNFindingsControls;
class KNIntegrationSettingsFields;
class KNNumberField;
class KNParameterField;
class KNParameterSpaceView;
class KNParameterTableView;
class KNPathPanels;
class KNPlotView;
class KNPlotWindow;
class KNSeedPositionPanel;
class KNSeedSelectionDisplay;
class KNStatusReporter;
class KNSweepControls;
class KNTimeCursorControls;
class KNViewFraming;
class QComboBox;
class QString;
class QTableWidget;
class QToolButton;
class Seed;

// The controller of one plot window: binds the window's views and controls to the exploration it
// owns (the system, the sweep, the seeds, the settings and the recomputation of the seeds' fans),
// passing every action on to it and showing its state. It fills the parameter table and keeps
// the handles of the parameter-space view, the table and the plot view's seeds in step with the
// exploration. Main thread only.
class KNPlotWindowController : public KNPlotViewDelegate,
                               public KNParameterSpaceViewDelegate,
                               public KNParameterTableViewOwner,
                               public KNTableViewDataSource,
                               public std::enable_shared_from_this<KNPlotWindowController> {
public:
    static constexpr std::int64_t maxEvolutionCount = kinora::Exploration::maxEvolutionCount;

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
    // A window for a document as opened: a session's window comes with its size and cameras
    // and is loaded (not shown).
    static std::shared_ptr<KNPlotWindowController>
    initWithDocument(KNOpenedDocument document, std::shared_ptr<KNAlertPresenter> alerts);
    // A window for exploration, which has been started (see Exploration::start) and is then the
    // controller's; titled title unless that is empty.
    static std::shared_ptr<KNPlotWindowController>
    initWithExploration(std::unique_ptr<kinora::Exploration> exploration,
                        std::shared_ptr<KNAlertPresenter> alerts, const std::string& title = {});

    ~KNPlotWindowController() override;
    KNPlotWindowController(const KNPlotWindowController&) = delete;
    KNPlotWindowController& operator=(const KNPlotWindowController&) = delete;

    // Loads the window on first use: views, their awakeFromNib, then windowDidLoad.
    KNPlotWindow* window();
    bool isWindowLoaded() const { return _window != nullptr; }
    void showWindow();
    // Whether the loaded window has yet to frame its views again at their laid-out size, which
    // it does a moment after loading; the controller stays alive until then.
    bool isOpening() const;

    // Takes seed's position into the exploration and recomputes every trajectory of seed: at
    // once as far as the first slice of the recomputation goes, the rest from the event loop
    // (KNRecomputation), paths handed to the view as they are done. A seed already being
    // recomputed starts over; a seed moved while others are still computing joins their
    // recomputation and its report.
    void updateSeed(Seed* seed);
    // Whether a recomputation still has work left; Escape (cancelOperation) stops it.
    bool isRecomputing() const { return _exploration->isRecomputing(); }
    // What every trajectory the window shows is computed from, as it stands now, whether or
    // not a recomputation is still at work.
    KNTrajectorySnapshot trajectorySnapshot() const { return _exploration->trajectorySnapshot(); }
    // Finishes a recomputation still at work at once, so every path is there (for an export
    // with no window to keep answering).
    void completeRecomputation();
    // Runs the window's exports; Escape (cancelOperation) stops them.
    KNExportRunner& exportRunner() { return exports; }

    // Actions of the window's controls.
    void addSeed();
    void removeSeed();
    // Escape: shows every path again while one is soloed, else stops a running export, else a
    // recomputation still at work, otherwise deselects the selected seed. The one place that
    // decides what Escape cancels.
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
    // Sets the time hidden at the start of every path (Skip); one that is negative, not finite
    // or not shorter than the duration is refused the same way. A duration at or below the
    // transient in force is refused in turn, so the user chooses which to lower.
    void changeTransient(double transient);
    // Sets a parameter's sweep as two table edits do: the parameter, the handles on the axes
    // showing it, its row, every seed's paths, both views. An index that names no parameter
    // changes nothing.
    void changeParameterSweep(int index, double start, double end);

    // Places each view's scene so that everything it shows is in the picture: the plot view its
    // seeds and every finite path point, the parameter-space view both handles and the origin.
    // Redraws.
    void fitViews();
    // Both views return to their camera of when the window opened. Redraws.
    void resetViews();

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

    kinora::Exploration& exploration() { return *_exploration; }
    KinoraSystem& system() { return _exploration->system(); }
    const kinora::Integrator& integrator() const { return _exploration->integrator(); }
    double pathStepLength() const { return _exploration->pathDuration(); }
    std::int64_t evolutionCount() const { return _exploration->evolutionCount(); }
    const std::array<std::int32_t, 3>& axisToParameterMapping() const {
        return _exploration->axisToParameterMapping();
    }
    const std::optional<std::string>& title() const { return _title; }
    // The file the window was opened from, which its exports must never overwrite.
    const std::optional<std::string>& documentPath() const { return _documentPath; }
    void setDocumentPath(std::string path) { _documentPath = std::move(path); }
    bool hasScriptEngine() const { return _exploration->hasScriptEngine(); }
    // Where the system came from; a controller made from a bare evolution function has none
    // and cannot be saved.
    const std::optional<KNSystemSource>& systemSource() const {
        return _exploration->systemSource();
    }
    void setSystemSource(KNSystemSource source) {
        _exploration->setSystemSource(std::move(source));
    }

    // The cameras a restored session gives, for a caller that sets them before the window
    // loads: they then replace the fitted ones and are what Reset View returns to.
    void setOpeningCameras(const KNViewCamera& plot, const KNViewCamera& parameter);
    // What the paths of the latest recomputation ran into, all its seeds together.
    const kinora::RecomputationOutcome& lastOutcome() const { return _exploration->lastOutcome(); }

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
    KNNumberField* transientControl();
    KNStatusReporter* statusReporter();
    // Null until the window has loaded.
    KNTimeCursorControls* timeCursorControls() const;
    KNSeedPositionPanel* seedPositionPanel();
    // The section and orbit-diagram panels, made with the window.
    KNAnalysisPanels* analysisPanels();
    // The findings panel, its menu items and what they show; made once the window has loaded.
    KNFindingsControls* findings();

private:
    KNPlotWindowController(std::unique_ptr<kinora::Exploration> exploration,
                           std::shared_ptr<KNAlertPresenter> alerts);

    void windowDidLoad();
    // The plot view's seeds, the handles and the sweep key as the exploration has them.
    void showExploration();
    void connectControls();
    void showSweepKey();
    // After a change that recomputes every seed: the new sweep's key, the recomputation, a
    // redraw.
    void showAllSeedsRecomputing();
    // After a change of evolutions, step or duration: the toolbar shows the settings in force,
    // and the status bar why the change was refused, or the recomputation goes on.
    void showSettingChange(const std::optional<std::string>& refusal);
    // Shows a start or end edit of the parameter at index: the handle of every axis showing it,
    // its table row, the recomputation and both views.
    void parameterSweepDidChange(int index);

    std::unique_ptr<kinora::Exploration> _exploration;
    std::optional<std::string> _title;
    std::optional<std::string> _documentPath;
    // A session's cameras, until the window loads and its framing takes them.
    std::optional<std::pair<KNViewCamera, KNViewCamera>> openingCameras;
    // Made once the window has loaded. Before the recomputation, which tells them of the paths,
    // so that they outlive it.
    std::unique_ptr<KNPathPanels> panels;
    // Made with the panels.
    std::unique_ptr<KNSeedSelectionDisplay> selection;
    KNWindowRecomputation recomputation;
    // Made once the window has loaded.
    std::unique_ptr<KNSweepControls> sweep;
    std::unique_ptr<KNViewFraming> framing;
    std::unique_ptr<KNIntegrationSettingsFields> settingsFields;
    // A child of connections.
    KNLinkedPaths* linkedPaths = nullptr;

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
};
