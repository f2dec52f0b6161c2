#pragma once

#include "KNEquilibriumMarkers.h"
#include "KNKeptPicture.h"
#include "KNMovingSeedLayer.h"
#include "KNScenePicture.h"
#include "KNSectionOverlay.h"

#include <QRectF>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class Path;
class Seed;

// The phase-space picture, with no window: seeds, each with a fixed set of trajectory paths whose
// data its owner hands over, the paths' heads at the time cursor, one path highlighted and every
// path but one dimmed, the section plane with its dots, the equilibria's markers, the axes with
// their names and ticks and the colour key. KNPlotView shows it in a window and picks in it; an
// export draws it into an image alone. No call here redraws anything.
class KNPlotPicture : public KNScenePicture {
public:
    // Paths per seed; the controller never shows more evolutions than this.
    static constexpr int pathsPerSeed = 20;

    KNPlotPicture();
    ~KNPlotPicture() override;

    // Base set-up, then blending for the scene's pass and the seeds' shared point mesh.
    void setUp(kinora::Framebuffer* target) override;

    // A new seed at the origin with blank paths, owned by the picture.
    Seed* addSeed();
    // Removes seed, one of this picture's, with its paths; a focus on one of them goes.
    void removeSeed(Seed* seed);
    // Calls block once per seed in creation order; block must not add or remove seeds.
    void enumerateSeedsWithBlock(const std::function<void(Seed*)>& block);
    // The seed at index in creation order, or null past the last; at no cost that grows with
    // the seeds, as a large recomputation asks for every seed.
    Seed* seedAt(std::size_t index) const;
    std::size_t seedCount() const { return seedOrder.size(); }
    // The place of seed, one of this picture's, in creation order, counted from 0.
    std::size_t indexOfSeed(const Seed* seed) const;
    // The paths of seed, one of this picture's, evolution 0 first.
    std::vector<const Path*> pathsOf(const Seed* seed) const;
    // The seed and evolution of a path of this picture, or null and -1 for anything else.
    std::pair<Seed*, int> evolutionOf(const kinora::Renderable* r) const;
    // See KNPlotView::replacePathWithID and blankPathWithID.
    void replacePathWithID(int pathIndex, const float* vertices, const std::uint32_t* indices,
                           int vertexCount, int indexCount, float sValue, int hiddenVertices = 0);
    void blankPathWithID(int pathIndex);

    // The seed being dragged, from its first move to the release (null otherwise): while it
    // moves among others, only it is drawn again on every frame into the owner's images.
    void setMovingSeed(Seed* seed) { movingSeed = seed; }
    Seed* moving() const { return movingSeed; }
    // Something besides the moving seed changed for the picture kept during a drag.
    void invalidateMovingSeedLayer();

    // See KNPlotView::setTimeFraction.
    void setTimeFraction(double fraction);
    double timeFraction() const { return _timeFraction; }
    // Draws the path at scene index highlighted wider over the others, and every path but the
    // one at scene index soloed dimmed; -1 for none.
    void setPathFocus(int highlighted, int soloed);
    int highlighted() const { return highlightedPath; }
    int soloed() const { return soloedPath; }

    // See KNPlotView for these.
    void setSweepKey(const QString& start, const QString& end);
    void setSectionPlane(const std::optional<std::array<kinora::Vector3, 4>>& corners, int axis);
    void setSectionDots(const std::vector<float>& dots);
    bool showsSectionPlane() const { return sectionOverlay.isShown(); }
    int sectionPlaneAxis() const { return sectionAxis; }
    kinora::Vector3 sectionPlaneCentre() const { return sectionCentre; }
    enum class PathColouring { bySweep, byExponent };
    void setPathColouring(PathColouring colouring);
    PathColouring pathColouring() const { return colouring; }
    void setPathExponentShade(int pathIndex, std::optional<float> shade);
    void setExponentKey(const QString& start, const QString& end);
    void setEquilibriumMarkers(const std::vector<KNEquilibriumMarker>& markers);

    // While a seed is dragged among others, only it is drawn again on every frame; while
    // blank paths are filled, only they are drawn onto the picture kept. Both only into the
    // scene's own target; any other target gets the whole picture.
    bool drawPicture(kinora::Framebuffer& target, kinora::ScenePass& pass,
                     kinora::ScenePass::Clock::time_point deadline) override;
    // The section plane and dots, the heads, the highlight, the markers, the colour key and the
    // labels.
    void drawOverlay(kinora::Framebuffer& target, double pixelsPerPoint) override;
    // The key first, then the axes with their names and ticks.
    std::vector<KNLabel> labels(QSizeF picture) const override;
    // The paths' ids into the pick image of target, each where it is the nearest path the
    // picture shows, then the seeds' over them; lines pixelsPerPoint wide.
    void drawPathIDs(kinora::Framebuffer& target, double pixelsPerPoint);

    std::unique_ptr<kinora::Mesh> cubeMesh;

private:
    // A seed together with what the picture owns for it.
    struct SeedEntry {
        std::unique_ptr<Seed> seed;
        std::vector<std::unique_ptr<Path>> paths;

        SeedEntry();
        SeedEntry(SeedEntry&&) noexcept;
        ~SeedEntry();
    };
    // The colour key on a picture of a given size in points: its bar (empty without a key) and
    // texts, the bar as wide as the texts, which wrap to the picture's width.
    struct KeyLayout {
        QRectF bar;
        std::vector<KNLabel> texts;
    };
    KeyLayout keyLayout(QSizeF picture) const;
    // The part of a path after its hiddenVertices first vertices, from the first shown on.
    void replacePathAfterTransient(int pathIndex, const float* vertices, int vertexCount,
                                   float sValue, int hiddenVertices);
    Path& pathAt(int pathIndex) const;
    // The key's texts and bar program for the colouring in force.
    const QString& keyStart() const;
    const QString& keyEnd() const;
    // A change to how paths look that the kept picture and the drag layer cannot see.
    void pathLookChanged(int pathIndex);
    // The path's own mesh and head, made on its first filling.
    void giveOwnMesh(Path& path);
    void uploadPath(int pathIndex, const float* vertices, const std::uint32_t* indices,
                    int vertexCount, int indexCount, float sValue, int firstStep);
    // Applies the time cursor to path's mesh.
    void limitToCursor(Path& path) const;
    void drawHeads(kinora::Framebuffer& target, double pixelsPerPoint);
    void drawHighlight(kinora::Framebuffer& target, double pixelsPerPoint);
    // Binds target for drawing over its picture with the path program, scene matrices set.
    void beginPathOverlay(kinora::Framebuffer& target) const;
    // Scene projection and view (with the scene's placement) on program.
    void setSceneMatrices(kinora::Shader& program) const;

    // What every path never filled draws: one vertex, nothing as a line strip.
    std::unique_ptr<kinora::Mesh> blankMesh;
    std::list<SeedEntry> seeds;
    // The seeds' own, in the same order.
    std::vector<Seed*> seedOrder;
    KNSectionOverlay sectionOverlay;
    int sectionAxis = 2;
    kinora::Vector3 sectionCentre;
    Seed* movingSeed = nullptr;
    KNMovingSeedLayer movingSeedLayer;
    double _timeFraction = 1.0;
    // Scene indices, -1 for none.
    int highlightedPath = -1;
    int soloedPath = -1;
    // Progress pictures of a long recomputation draw only the paths filled since the last.
    KNKeptPicture keptPicture;
    QString sweepStart;
    QString sweepEnd;
    PathColouring colouring = PathColouring::bySweep;
    QString exponentStart;
    QString exponentEnd;
    std::unique_ptr<kinora::Shader> exponentRampShader;
    std::unique_ptr<kinora::Shader> markerShader;
    KNEquilibriumMarkers markers;
    // Reused by every path handed over, so a drag allocates nothing.
    std::vector<float> uploadVertices;
    std::vector<std::uint32_t> uploadIndices;
};
