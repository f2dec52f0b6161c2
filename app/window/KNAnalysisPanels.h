#pragma once

#include "AnalysisPanelSettings.h"
#include "ExplorationListener.h"
#include "KNAnalysisPictures.h"
#include "KNOrbitDiagramComputation.h"
#include "Parameter.h"
#include "SectionDotsFollower.h"

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

class KNOrbitDiagramPanel;
class KNPlotView;
class KNPlotWindow;
class KNSectionPanel;
class QAction;
class QDockWidget;

namespace kinora {
class Exploration;
}

// The analysis a plot window shows beside its paths: the section plane with its crossings (in
// the plot view and in the section panel) and the orbit diagram of the window's sweep, each
// panel a dock of the window shown or hidden from the View menu. It follows the exploration's
// recomputation to find the crossings of every path as it is completed.
class KNAnalysisPanels final : public QObject, public kinora::ExplorationListener {
public:
    // Adds the docks and their View menu items to window. The exploration must outlive this;
    // recomputeAll recomputes every seed's paths, in slices, as a change of the sweep does.
    KNAnalysisPanels(KNPlotWindow& window, kinora::Exploration& exploration,
                     std::function<void()> recomputeAll);
    ~KNAnalysisPanels() override;

    const kinora::AnalysisPanelSettings& settings() const { return _settings; }
    // As a session has them: the plane, the diagram's settings and which panels show. Settings
    // no diagram can have are refused with the reason, changing nothing; a diagram the window's
    // step cannot serve says why in its panel.
    std::optional<std::string> apply(const kinora::AnalysisPanelSettings& settings);
    // The seed at index is gone, with its dots.
    void seedRemoved(std::size_t index);

    KNSectionPanel* sectionPanel() const { return section; }
    KNOrbitDiagramPanel* orbitPanel() const { return orbit; }
    QDockWidget* sectionDock() const { return _sectionDock; }
    QDockWidget* orbitDock() const { return _orbitDock; }
    bool isComputingDiagram() const { return computation.isRunning(); }

    void explorationDidBeginRecomputation() override;
    void explorationDidStartFan(std::size_t seedIndex, std::int32_t evolutions) override;
    void explorationDidCompletePath(std::size_t seedIndex, std::int32_t evolution,
                                    const kinora::SeedFan& fan) override;
    void explorationDidIntegrate(std::chrono::steady_clock::duration) override {}
    void explorationDidDeferFan(std::size_t seedIndex) override;
    void explorationDidPause(std::int64_t, std::int64_t) override {}
    void explorationDidStopRecomputation(std::int64_t, std::int64_t) override {}
    void explorationDidFinishRecomputation() override;

private:
    void showSection(bool shown);
    void showOrbitDiagram(bool shown);
    void changeSection(const kinora::PoincareSection& changed);
    void changeOrbit(const kinora::OrbitPanelSettings& changed);
    // The plane across what the plot view frames, or hidden.
    void placePlane();
    // The dots in both views, once per event loop turn however many paths came in.
    void showDotsSoon();
    void showDots();
    void startDiagram();
    // What the diagram is computed from besides its settings; a change restarts it.
    struct DiagramInputs {
        std::vector<double> sweep;
        double step = 0.0;
        bool operator==(const DiagramInputs&) const = default;
    };
    DiagramInputs diagramInputs() const;
    void refuse(const QString& reason);

    KNPlotWindow& window;
    KNPlotView& plotView;
    kinora::Exploration& exploration;
    std::function<void()> recomputeAll;
    kinora::AnalysisPanelSettings _settings;
    // The crossings of the paths on screen with the plane, while the section is shown.
    kinora::SectionDotsFollower crossings;
    bool dotsPending = false;
    KNSectionPanel* section;
    KNOrbitDiagramPanel* orbit;
    QDockWidget* _sectionDock;
    QDockWidget* _orbitDock;
    // Their items in the View menu.
    QAction* sectionItem = nullptr;
    QAction* orbitItem = nullptr;
    KNOrbitAxis orbitAxis;
    DiagramInputs computedInputs;
    KNOrbitDiagramComputation computation;
};
