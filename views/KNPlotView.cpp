#include "KNPlotView.h"

#include "KNPlotViewDelegate.h"
#include "Matrix4.h"
#include "Path.h"
#include "Scene.h"
#include "Seed.h"

#include <QMouseEvent>
#include <memory>

KNPlotView::KNPlotView(QWindow* parent)
    : KNOpenGLView(std::make_unique<KNPlotPicture>(), parent),
      plot(static_cast<KNPlotPicture&>(scenePicture())) {}

KNPlotView::~KNPlotView() {
    attachContextForTeardown();
}

Seed* KNPlotView::addSeed() {
    return plot.addSeed();
}

void KNPlotView::removeSelectedSeed() {
    Seed* seed = selectedSeed();
    if (seed == nullptr) {
        return;
    }
    if (plot.evolutionOf(hoveredPath).first == seed) {
        hoveredPath = nullptr;
    }
    plot.removeSeed(seed);
    selected = nullptr;
    // Null: the seed itself is gone.
    renderableWasDeselected(nullptr);
}

void KNPlotView::enumerateSeedsWithBlock(const std::function<void(Seed*)>& block) {
    plot.enumerateSeedsWithBlock(block);
}

Seed* KNPlotView::seedAt(std::size_t index) const {
    return plot.seedAt(index);
}

std::size_t KNPlotView::indexOfSeed(const Seed* seed) const {
    return plot.indexOfSeed(seed);
}

std::vector<const Path*> KNPlotView::pathsOf(const Seed* seed) const {
    return plot.pathsOf(seed);
}

void KNPlotView::replacePathWithID(int pathIndex, const float* vertices,
                                   const std::uint32_t* indices, int vertexCount, int indexCount,
                                   float sValue, int hiddenVertices) {
    plot.replacePathWithID(pathIndex, vertices, indices, vertexCount, indexCount, sValue,
                           hiddenVertices);
}

void KNPlotView::blankPathWithID(int pathIndex) {
    plot.blankPathWithID(pathIndex);
}

void KNPlotView::setTimeFraction(double fraction) {
    plot.setTimeFraction(fraction);
}

void KNPlotView::setPathFocus(int highlighted, int soloed) {
    plot.setPathFocus(highlighted, soloed);
}

void KNPlotView::setSweepKey(const QString& start, const QString& end) {
    plot.setSweepKey(start, end);
}

void KNPlotView::setSectionPlane(const std::optional<std::array<kinora::Vector3, 4>>& corners,
                                 int axis) {
    plot.setSectionPlane(corners, axis);
}

void KNPlotView::setSectionDots(const std::vector<float>& dots) {
    plot.setSectionDots(dots);
}

void KNPlotView::setPathColouring(PathColouring colouring) {
    plot.setPathColouring(colouring);
}

void KNPlotView::setPathExponentShade(int pathIndex, std::optional<float> shade) {
    plot.setPathExponentShade(pathIndex, shade);
}

void KNPlotView::setExponentKey(const QString& start, const QString& end) {
    plot.setExponentKey(start, end);
}

void KNPlotView::setEquilibriumMarkers(const std::vector<KNEquilibriumMarker>& markers) {
    plot.setEquilibriumMarkers(markers);
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

void KNPlotView::setPathHandlers(PathHandler hovered, PathHandler clicked) {
    pathHovered = std::move(hovered);
    pathClicked = std::move(clicked);
}

kinora::Renderable* KNPlotView::selectionFor(kinora::Renderable* picked) {
    if (dynamic_cast<Seed*>(picked) != nullptr) {
        return picked;
    }
    const auto [seed, evolution] = plot.evolutionOf(picked);
    if (pathClicked) {
        pathClicked(seed, evolution);
    }
    return seed;
}

void KNPlotView::mouseHovered(std::optional<QPointF> locationInView) {
    const kinora::Renderable* under = nullptr;
    if (locationInView && plot.isSetUp()) {
        under = renderableUnder(*locationInView);
    }
    const auto [seed, evolution] = plot.evolutionOf(under);
    if (seed == nullptr) {
        under = nullptr;
    }
    if (under == hoveredPath) {
        return;
    }
    hoveredPath = under;
    if (pathHovered) {
        pathHovered(seed, evolution);
    }
}

void KNPlotView::drawPickImage() {
    KNOpenGLView::drawPickImage();
    pathIDsDrawn = false;
}

kinora::Renderable* KNPlotView::renderableUnder(QPointF locationInView) {
    kinora::Renderable* under = KNOpenGLView::renderableUnder(locationInView);
    if (under != nullptr || pathIDsDrawn) {
        return under;
    }
    plot.drawPathIDs(*framebuffer, devicePixelRatio());
    pathIDsDrawn = true;
    return KNOpenGLView::renderableUnder(locationInView);
}

std::shared_ptr<KNPlotViewDelegate> KNPlotView::delegate() const {
    return _delegate.lock();
}

void KNPlotView::setDelegate(std::weak_ptr<KNPlotViewDelegate> delegate) {
    _delegate = std::move(delegate);
}

int KNPlotView::statisticsSeedCount() const {
    return static_cast<int>(plot.seedCount());
}

void KNPlotView::dragDidEnd() {
    plot.setMovingSeed(nullptr);
}

void KNPlotView::renderableWasSelected(kinora::Renderable* r) {
    static_cast<Seed*>(r)->isSelected = true;
    if (auto receiver = delegate()) {
        receiver->plotViewSeedWasSelected(this, 0);
    }
}

void KNPlotView::renderableWasDeselected(kinora::Renderable* r) {
    plot.setMovingSeed(nullptr);
    plot.invalidateMovingSeedLayer();
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
    plot.setMovingSeed(static_cast<Seed*>(r));
    if (auto receiver = delegate()) {
        receiver->plotViewSeedWasMoved(this, static_cast<Seed*>(r));
    }
}

bool KNPlotView::isSelectable(kinora::Renderable* r) const {
    return dynamic_cast<Seed*>(r) != nullptr;
}

void KNPlotView::setSectionDragHandler(std::function<void(double)> handler) {
    sectionDragHandler = std::move(handler);
}

double KNPlotView::sectionDisplacement(QPointF from, QPointF to) const {
    const kinora::Matrix4 toClip = plot.sceneToClip();
    // Where a scene point lands in the window, in points with y down.
    const auto project = [&](kinora::Vector3 p) -> std::optional<QPointF> {
        const float* m = toClip.m;
        const double w = m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15];
        if (w <= 1e-9) {
            return std::nullopt;
        }
        const double x = (m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12]) / w;
        const double y = (m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13]) / w;
        return QPointF((x + 1.0) / 2.0 * width(), (1.0 - y) / 2.0 * height());
    };
    const int sectionAxis = plot.sectionPlaneAxis();
    const kinora::Vector3 sectionCentre = plot.sectionPlaneCentre();
    const kinora::Vector3 unit(sectionAxis == 0 ? 1.0 : 0.0, sectionAxis == 1 ? 1.0 : 0.0,
                               sectionAxis == 2 ? 1.0 : 0.0);
    const auto start = project(sectionCentre);
    const auto end = project(sectionCentre + unit);
    if (!start || !end) {
        return 0.0;
    }
    const QPointF along = *end - *start;
    const double length2 = QPointF::dotProduct(along, along);
    // Looking along the axis, the cursor cannot say how far to move.
    if (length2 < 1e-6) {
        return 0.0;
    }
    return QPointF::dotProduct(to - from, along) / length2;
}

void KNPlotView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier) &&
        plot.showsSectionPlane() && sectionDragHandler) {
        sectionDragPoint = event->position();
        return;
    }
    KNOpenGLView::mousePressEvent(event);
}

void KNPlotView::mouseMoveEvent(QMouseEvent* event) {
    if (sectionDragPoint) {
        const double moved = sectionDisplacement(*sectionDragPoint, event->position());
        sectionDragPoint = event->position();
        if (moved != 0.0) {
            sectionDragHandler(moved);
        }
        return;
    }
    KNOpenGLView::mouseMoveEvent(event);
}

void KNPlotView::mouseReleaseEvent(QMouseEvent* event) {
    if (sectionDragPoint && event->button() == Qt::LeftButton) {
        sectionDragPoint.reset();
        return;
    }
    KNOpenGLView::mouseReleaseEvent(event);
}
