#include "KNPlotImageRenderer.h"

#include "Exploration.h"
#include "KNImageExporter.h"
#include "KNPlotView.h"
#include "KNPlotViewPathFeed.h"
#include "KNSweepKey.h"
#include "Seed.h"

#include <algorithm>

KNPlotImageRenderer::KNPlotImageRenderer(kinora::Exploration& exploration)
    : exploration(exploration), view(std::make_unique<KNPlotView>()),
      paths(std::make_unique<KNPlotViewPathFeed>(exploration, *view)) {
    view->create();
    view->awakeFromNib();
    for (std::size_t i = 0; i < exploration.seedCount(); ++i) {
        view->addSeed()->transform.position = exploration.seedPosition(i);
    }
    // As in a window: the key shows once a change has recomputed every seed.
    if (exploration.hasRecomputedAllSeeds()) {
        const KNSweepKey key = KNSweepKey::describe(exploration.system().parameters);
        view->setSweepKey(key.start, key.end);
    }
    exploration.setListener(paths.get());
}

KNPlotImageRenderer::~KNPlotImageRenderer() {
    exploration.setListener(nullptr);
}

bool KNPlotImageRenderer::write(const std::optional<KNViewCamera>& camera, int width, int height,
                                const std::string& path, KNError* error) {
    if (camera) {
        view->resize(camera->width, camera->height);
        view->setViewCamera(*camera);
    } else {
        // Framed as a window of the picture's shape would open.
        view->resize(width, height);
        view->update();
        view->frameBox(exploration.plotBounds(), 0.1);
    }
    // A picture larger than the saved view is that view on a denser screen.
    const double pixelsPerPoint =
        camera ? static_cast<double>(height) / std::max(camera->height, 1) : 1.0;
    return KNImageExporter::write(*view, width, height, pixelsPerPoint, path, error);
}

void KNPlotImageRenderer::setTimeFraction(double fraction) {
    view->setTimeFraction(fraction);
}
