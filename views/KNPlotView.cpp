#include "KNPlotView.h"

#include "KNFrameStatistics.h"
#include "KNLabelRenderer.h"
#include "KNPlotViewDelegate.h"
#include "KNRenderCallbacks.h"
#include "Mesh.h"
#include "Path.h"
#include "Scene.h"
#include "Seed.h"

#include <algorithm>
#include <cassert>
#include <epoxy/gl.h>

KNPlotView::SeedEntry::SeedEntry() = default;
KNPlotView::SeedEntry::SeedEntry(SeedEntry&&) noexcept = default;
KNPlotView::SeedEntry::~SeedEntry() = default;

KNPlotView::KNPlotView(QWindow* parent) : KNOpenGLView(parent) {}

KNPlotView::~KNPlotView() {
    attachContextForTeardown();
}

void KNPlotView::awakeFromNib() {
    KNOpenGLView::awakeFromNib();
    scene->blendEnabled = true;
    cubeMesh = makePointMesh();
}

Seed* KNPlotView::addSeed() {
    assert(scene && "awakeFromNib comes first");
    ensureContext();
    SeedEntry entry;
    entry.seed = std::make_unique<Seed>(cubeMesh.get(), pickShader.get(), pathsPerSeed);
    Seed* seed = entry.seed.get();
    seed->createVertexArray();
    seed->sceneID = scene->addRenderable(seed);

    for (int i = 0; i < pathsPerSeed; ++i) {
        // A blank path: one zero vertex, which draws nothing as a line strip.
        std::unique_ptr<kinora::Mesh> mesh = makePointMesh();
        auto path = std::make_unique<Path>(mesh.get(), pathShader.get(), GL_LINE_STRIP);
        path->sValue = static_cast<float>(i) / 19.0f;
        path->setupAttributes = setupVertexAttributes;
        path->prepareDraw = preparePathDraw;
        path->createVertexArray();
        seed->pathIDs[static_cast<std::size_t>(i)] = scene->addRenderable(path.get());
        entry.pathMeshes.push_back(std::move(mesh));
        entry.paths.push_back(std::move(path));
    }
    seeds.push_back(std::move(entry));
    movingSeedLayer.invalidate();
    return seed;
}

void KNPlotView::removeSelectedSeed() {
    Seed* seed = selectedSeed();
    if (seed == nullptr) {
        return;
    }
    ensureContext();
    for (int pathID : seed->pathIDs) {
        scene->removeRenderable(pathID);
    }
    scene->removeRenderable(seed->sceneID);
    seeds.remove_if([seed](const SeedEntry& entry) { return entry.seed.get() == seed; });
    selected = nullptr;
    // Null: the seed itself is gone.
    renderableWasDeselected(nullptr);
}

Seed* KNPlotView::selectedSeed() const {
    return dynamic_cast<Seed*>(selected);
}

void KNPlotView::deselectSeed() {
    if (selected == nullptr) {
        return;
    }
    renderableWasDeselected(selected);
    selected = nullptr;
}

void KNPlotView::selectSeed(Seed* seed) {
    renderableWasDeselected(selected);
    selected = seed;
    renderableWasSelected(seed);
}

void KNPlotView::enumerateSeedsWithBlock(const std::function<void(Seed*)>& block) {
    ensureContext();
    for (const SeedEntry& entry : seeds) {
        block(entry.seed.get());
    }
}

void KNPlotView::replacePathWithID(int pathIndex, const float* vertices,
                                   const std::uint32_t* indices, int vertexCount, int indexCount,
                                   float sValue) {
    assert(pathIndex >= 0 && static_cast<std::size_t>(pathIndex) < scene->renderables.size());
    auto* path = dynamic_cast<Path*>(scene->getRenderable(pathIndex));
    assert(path != nullptr && "pathIndex names a path of a seed");
    ensureContext();
    const KNStopwatch uploading;
    const bool wasBlank = path->drawsNothing();
    path->sValue = sValue;
    path->mesh->setData(vertices, indices, vertexCount, indexCount, 6);
    keptPicture.pathChanged(pathIndex, wasBlank, path->drawsNothing());
    KNFrameStatistics::addUpload(uploading.elapsed());
    if (movingSeed == nullptr || !movingSeed->hasPath(pathIndex)) {
        movingSeedLayer.invalidate();
    }
}

std::shared_ptr<KNPlotViewDelegate> KNPlotView::delegate() const {
    return _delegate.lock();
}

void KNPlotView::setDelegate(std::weak_ptr<KNPlotViewDelegate> delegate) {
    _delegate = std::move(delegate);
}

bool KNPlotView::drawPicture(kinora::Framebuffer& target, kinora::ScenePass& pass,
                             kinora::ScenePass::Clock::time_point deadline) {
    // With a single seed there is nothing to keep: drawing it all is as cheap.
    if (movingSeed != nullptr && seeds.size() > 1 && &target == framebuffer.get()) {
        // The layer keeps its own progress across the frames of a drag.
        return movingSeedLayer.draw(*scene, target, *movingSeed, deadline);
    }
    if (&target == framebuffer.get()) {
        return keptPicture.draw(*scene, target, pass, deadline);
    }
    return KNOpenGLView::drawPicture(target, pass, deadline);
}

namespace {
// The colour key's bar, in points from the lower left corner.
const QRectF keyBar(12.0, 24.0, 96.0, 8.0);
} // namespace

void KNPlotView::setSweepKey(const QString& start, const QString& end) {
    sweepStart = start;
    sweepEnd = end;
}

void KNPlotView::drawOverlay(kinora::Framebuffer& target, double pixelsPerPoint) {
    if (!sweepStart.isEmpty() || !sweepEnd.isEmpty()) {
        labelRenderer->drawColourBar(*colorRampShader, keyBar, target, pixelsPerPoint);
    }
    KNOpenGLView::drawOverlay(target, pixelsPerPoint);
}

std::vector<KNLabel> KNPlotView::labels() const {
    std::vector<KNLabel> result =
        axisLabels({QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")}, true);
    if (sweepStart.isEmpty() && sweepEnd.isEmpty()) {
        return result;
    }
    // The start's text above the bar's start, the end's below its end.
    KNLabel start;
    start.text = sweepStart;
    start.anchor = KNLabel::Anchor::view;
    start.position = kinora::Vector3(keyBar.left(), keyBar.bottom() + 1.0, 0.0);
    result.push_back(start);
    KNLabel end;
    end.text = sweepEnd;
    end.anchor = KNLabel::Anchor::view;
    end.position = kinora::Vector3(keyBar.right(), keyBar.top() - 1.0, 0.0);
    end.horizontalAlignment = 1.0;
    end.verticalAlignment = 1.0;
    result.push_back(end);
    return result;
}

int KNPlotView::statisticsSeedCount() const {
    return static_cast<int>(seeds.size());
}

void KNPlotView::dragDidEnd() {
    movingSeed = nullptr;
}

void KNPlotView::renderableWasSelected(kinora::Renderable* r) {
    static_cast<Seed*>(r)->isSelected = true;
    if (auto receiver = delegate()) {
        receiver->plotViewSeedWasSelected(this, 0);
    }
}

void KNPlotView::renderableWasDeselected(kinora::Renderable* r) {
    movingSeed = nullptr;
    movingSeedLayer.invalidate();
    if (r != nullptr) {
        static_cast<Seed*>(r)->isSelected = false;
    }
    if (auto receiver = delegate()) {
        receiver->plotViewSeedWasDeselected(this, 0);
    }
}

void KNPlotView::renderableDraggedFromPointToPoint(kinora::Renderable* r, QPointF from,
                                                   QPointF to) {
    KNOpenGLView::renderableDraggedFromPointToPoint(r, from, to);
    movingSeed = static_cast<Seed*>(r);
    if (auto receiver = delegate()) {
        receiver->plotViewSeedWasMoved(this, static_cast<Seed*>(r));
    }
}

bool KNPlotView::isSelectable(kinora::Renderable* r) const {
    return dynamic_cast<Seed*>(r) != nullptr;
}
