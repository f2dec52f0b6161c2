#pragma once

#include "AnalysisPanelSettings.h"
#include "OrbitDiagram.h"

#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kinora {
class Exploration;
class OrbitDiagramJob;
class OrbitDiagramRun;
} // namespace kinora

// Computes a window's orbit diagram on every core in the background and hands its columns to
// the window as they come, a few times a second, so the panel fills in while the window keeps
// answering. A new start drops the diagram under way.
class KNOrbitDiagramComputation {
public:
    using Columns = std::vector<std::pair<std::int32_t, kinora::OrbitColumn>>;
    // columns gets every batch of completed columns; progress how many of how many are done and
    // what stopped the diagram, if anything (empty otherwise).
    KNOrbitDiagramComputation(std::function<void(const Columns&)> columns,
                              std::function<void(int, int, const std::string&)> progress);
    ~KNOrbitDiagramComputation();
    KNOrbitDiagramComputation(const KNOrbitDiagramComputation&) = delete;
    KNOrbitDiagramComputation& operator=(const KNOrbitDiagramComputation&) = delete;

    // The settings must be ones kinora::orbitDiagramRefusal accepts for the exploration's step.
    void start(const kinora::Exploration& exploration,
               const kinora::AnalysisPanelSettings& settings);
    void stop();
    bool isRunning() const { return run != nullptr; }
    // Waits until every column is done and handed over (for a picture with no window).
    void finish();

private:
    void collect();

    std::function<void(const Columns&)> columns;
    std::function<void(int, int, const std::string&)> progress;
    QTimer poll;
    std::unique_ptr<kinora::OrbitDiagramJob> job;
    // After the job, so its workers stop before the diagram they use goes.
    std::unique_ptr<kinora::OrbitDiagramRun> run;
    int done = 0;
};
