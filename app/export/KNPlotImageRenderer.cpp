#include "KNPlotImageRenderer.h"

#include "Exploration.h"
#include "FindingsComputation.h"
#include "KNAnalysisInPlotView.h"
#include "KNBuiltinSystems.h"
#include "KNFanWorkerTools.h"
#include "KNImageExporter.h"
#include "KNPlotPicture.h"
#include "KNPlotViewPathFeed.h"
#include "KNSweepKey.h"
#include "SectionDotsFollower.h"
#include "Seed.h"

#include <algorithm>
#include <utility>

KNPlotImageRenderer::KNPlotImageRenderer(kinora::Exploration& exploration,
                                         const KNPlotImageAnalysis& analysis)
    : exploration(exploration), analysis(analysis), picture(std::make_unique<KNPlotPicture>()),
      paths(std::make_unique<KNPlotViewPathFeed>(exploration, *picture)) {
    picture->setUp(nullptr);
    for (std::size_t i = 0; i < exploration.seedCount(); ++i) {
        picture->addSeed()->transform.position = exploration.seedPosition(i);
    }
    // As in a window: the key shows once a change has recomputed every seed.
    if (exploration.hasRecomputedAllSeeds()) {
        const KNSweepKey key = KNSweepKey::describe(exploration.system().parameters);
        picture->setSweepKey(key.start, key.end);
    }
    if (analysis.section) {
        crossings = std::make_unique<kinora::SectionDotsFollower>(exploration, *analysis.section,
                                                                  paths.get());
        exploration.setListener(crossings.get());
    } else {
        exploration.setListener(paths.get());
    }
}

KNPlotImageRenderer::~KNPlotImageRenderer() {
    exploration.setListener(nullptr);
}

bool KNPlotImageRenderer::write(const std::optional<KNViewCamera>& camera, int width, int height,
                                const std::string& path, KNError* error) {
    showAnalysis();
    if (camera) {
        picture->setAspect(static_cast<double>(std::max(camera->width, 1)) /
                           std::max(camera->height, 1));
        picture->setViewCamera(*camera);
    } else {
        // Framed as a window of the picture's shape would open.
        picture->setAspect(static_cast<double>(width) / height);
        picture->frameBox(exploration.plotBounds(), 0.1);
    }
    // A picture larger than the saved view is that view on a denser screen.
    const double pixelsPerPoint =
        camera ? static_cast<double>(height) / std::max(camera->height, 1) : 1.0;
    return KNImageExporter::write(*picture, width, height, pixelsPerPoint, path, error);
}

void KNPlotImageRenderer::setTimeFraction(double fraction) {
    picture->setTimeFraction(fraction);
}

void KNPlotImageRenderer::showAnalysis() {
    if (std::exchange(analysisShown, true)) {
        return;
    }
    if (crossings) {
        placeSectionPlane(*picture, crossings->section(), exploration.plotBounds(), true);
        showSectionDots(*picture, crossings->dots().all());
    }
    if (!analysis.markers && !analysis.colourByExponent) {
        return;
    }
    const kinora::ExplorationFindings findings = kinora::FindingsComputation::complete(
        fanWorkerTools(exploration.system().evolution, exploration.system().parameterCount(),
                       exploration.scriptText()),
        jacobianOf(exploration.system().evolution), exploration.trajectorySnapshot());
    showEquilibriumMarkers(*picture, analysis.markers ? &findings : nullptr);
    if (analysis.colourByExponent) {
        picture->setPathColouring(KNPlotPicture::PathColouring::byExponent);
        showExponentColours(*picture, &findings);
    }
}
