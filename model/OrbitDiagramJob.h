#pragma once

#include "AnalysisPanelSettings.h"
#include "OrbitDiagram.h"

#include <memory>

namespace kinora {

class Exploration;

// An orbit diagram of an exploration's sweep as its panel settings ask, ready to be computed on
// every core: a script gets an engine of its own for each column, since one engine must never
// run on two threads at once.
class OrbitDiagramJob {
public:
    // The settings must be ones orbitDiagramRefusal accepts for the exploration's step.
    OrbitDiagramJob(const Exploration& exploration, const AnalysisPanelSettings& analysis);

    const OrbitDiagram& diagram() const { return *_diagram; }
    // Every core.
    int threads() const { return _threads; }

private:
    std::unique_ptr<OrbitDiagram> _diagram;
    int _threads = 1;
};

} // namespace kinora
