#pragma once

#include "KNOpenGLView.h"
#include "KNPlotPicture.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class KNPlotViewDelegate;
class Path;
class Seed;

// The phase-space view: seeds, each with a fixed set of trajectory paths whose data the
// controller hands over. Only seeds can be selected; dragging one reports every move. Paths are
// picked too, by the same ids: the one under the pointer and one clicked are reported, and the
// view highlights one path and can dim every path but one. What it shows is its KNPlotPicture,
// which an export draws without any window.
class KNPlotView : public KNOpenGLView {
public:
    // Paths per seed; the controller never shows more evolutions than this.
    static constexpr int pathsPerSeed = KNPlotPicture::pathsPerSeed;

    explicit KNPlotView(QWindow* parent = nullptr);
    ~KNPlotView() override;

    // What the view shows, drawn alike in its window and in an export.
    KNPlotPicture& plotPicture() { return plot; }
    const KNPlotPicture& plotPicture() const { return plot; }

    // A new seed at the origin with blank paths, owned by the view. No redraw, no delegate call.
    Seed* addSeed();
    // Removes the selected seed with its paths, then reports a deselection. No redraw.
    void removeSelectedSeed();
    // The selected seed, or null.
    Seed* selectedSeed() const;
    // Clears the selection as a click on empty space does, reporting the deselection when a
    // seed was selected. No redraw.
    void deselectSeed();
    // Selects seed, one of this view's, as a click on it does. No redraw.
    void selectSeed(Seed* seed);
    // Calls block once per seed in creation order; block must not add or remove seeds.
    void enumerateSeedsWithBlock(const std::function<void(Seed*)>& block);
    // The seed at index in creation order, or null past the last; at no cost that grows with
    // the seeds, as a large recomputation asks for every seed.
    Seed* seedAt(std::size_t index) const;
    // The place of seed, one of this view's, in creation order, counted from 0.
    std::size_t indexOfSeed(const Seed* seed) const;
    // The paths of seed, one of this view's, evolution 0 first.
    std::vector<const Path*> pathsOf(const Seed* seed) const;
    // Refills the path at scene index pathIndex with vertexCount vertices of six floats and
    // indexCount indices, drawn as a line strip that starts at its seed's position, and stores
    // its sweep fraction. With hiddenVertices (a transient), that many first vertices are left
    // out and the line runs through the others in order, from the first shown. No redraw.
    void replacePathWithID(int pathIndex, const float* vertices, const std::uint32_t* indices,
                           int vertexCount, int indexCount, float sValue, int hiddenVertices = 0);
    // Leaves the path at scene index pathIndex blank: it draws nothing. No redraw.
    void blankPathWithID(int pathIndex);

    // Shows every path from its seed up to fraction (0 ... 1) of its duration, with a dot at its
    // head; at 1 the paths show whole, without dots. The meshes draw only that part, so every
    // view drawing them follows. No redraw.
    void setTimeFraction(double fraction);
    double timeFraction() const { return plot.timeFraction(); }

    // Told the seed and evolution of the path under the pointer whenever that changes (null
    // and -1 for none), and of a path clicked (null and -1 for a click on empty space; a click
    // on a seed reports nothing). A click on a path also selects its seed.
    using PathHandler = std::function<void(const Seed* seed, int evolution)>;
    void setPathHandlers(PathHandler hovered, PathHandler clicked);
    // Draws the path at scene index highlighted wider over the others, and every path but the
    // one at scene index soloed dimmed; -1 for none. No redraw.
    void setPathFocus(int highlighted, int soloed);

    // The colour key's texts: the parameter values at the start (s = 0) and at the end (s = 1)
    // of the sweep. Shown from the next redraw on.
    void setSweepKey(const QString& start, const QString& end);

    // The section plane: its corners in order around it, the axis it is normal to; none hides
    // it with its dots. No redraw.
    void setSectionPlane(const std::optional<std::array<kinora::Vector3, 4>>& corners, int axis);
    // The crossings as x, y, z, s each. No redraw.
    void setSectionDots(const std::vector<float>& dots);
    // Called with how far a Ctrl+drag moves the shown section plane along its axis, on every
    // move of the drag.
    void setSectionDragHandler(std::function<void(double)> handler);
    // How the paths are coloured: by their place in the sweep, or by their largest Lyapunov
    // exponent, with the exponent key in place of the sweep's. No redraw.
    using PathColouring = KNPlotPicture::PathColouring;
    void setPathColouring(PathColouring colouring);
    PathColouring pathColouring() const { return plot.pathColouring(); }
    // The place of the path at scene index pathIndex on the exponent key, from 0 to 1, or
    // nothing for a path without an exponent (drawn grey when coloured by exponent). No redraw.
    void setPathExponentShade(int pathIndex, std::optional<float> shade);
    // The exponent key's texts, at its left (shade 0) and right (shade 1) end.
    void setExponentKey(const QString& start, const QString& end);
    // The equilibria to mark, drawn over the paths from the next redraw on.
    void setEquilibriumMarkers(const std::vector<KNEquilibriumMarker>& markers);

    // Non-owning: messages are dropped once the delegate is gone.
    std::shared_ptr<KNPlotViewDelegate> delegate() const;
    void setDelegate(std::weak_ptr<KNPlotViewDelegate> delegate);

protected:
    void renderableWasSelected(kinora::Renderable* r) override;
    void renderableWasDeselected(kinora::Renderable* r) override;
    void renderableDraggedFromPointToPoint(kinora::Renderable* r, QPointF from,
                                           QPointF to) override;
    bool isSelectable(kinora::Renderable* r) const override;
    // A path's seed, after reporting the click.
    kinora::Renderable* selectionFor(kinora::Renderable* picked) override;
    void mouseHovered(std::optional<QPointF> locationInView) override;
    // The seeds' ids alone: most clicks are on seeds, and paths are many.
    void drawPickImage() override;
    // A seed; else, once the paths' ids are drawn into the pick image as well, a path.
    kinora::Renderable* renderableUnder(QPointF locationInView) override;
    void dragDidEnd() override;
    int statisticsSeedCount() const override;
    // A Ctrl+drag of the primary button moves the section plane while it is shown.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // How far the cursor moving by (dx, dy) points moves the section plane along its axis.
    double sectionDisplacement(QPointF from, QPointF to) const;

    KNPlotPicture& plot;
    std::weak_ptr<KNPlotViewDelegate> _delegate;
    std::function<void(double)> sectionDragHandler;
    // Where the last move of a section drag left the cursor, during one.
    std::optional<QPointF> sectionDragPoint;
    PathHandler pathHovered;
    PathHandler pathClicked;
    // The path under the pointer as last reported.
    const kinora::Renderable* hoveredPath = nullptr;
    // Whether the pick image holds the paths' ids, besides the seeds'.
    bool pathIDsDrawn = false;
};
