#include "KNPlotPicture.h"

#include "Framebuffer.h"
#include "KNFrameStatistics.h"
#include "KNLabelRenderer.h"
#include "KNRenderCallbacks.h"
#include "KNSharedContext.h"
#include "Mesh.h"
#include "Path.h"
#include "Scene.h"
#include "Seed.h"
#include "Shader.h"
#include "Trajectory.h"

#include <QStringList>
#include <algorithm>
#include <cassert>
#include <epoxy/gl.h>
#include <iostream>
#include <iterator>

namespace {
// A highlighted path's width in points: plainly wider than the one-point paths around it.
constexpr double highlightWidth = 3.0;
} // namespace

KNPlotPicture::SeedEntry::SeedEntry() = default;
KNPlotPicture::SeedEntry::SeedEntry(SeedEntry&&) noexcept = default;
KNPlotPicture::SeedEntry::~SeedEntry() = default;

KNPlotPicture::KNPlotPicture() = default;

KNPlotPicture::~KNPlotPicture() {
    attachContextForTeardown();
}

void KNPlotPicture::setUp(kinora::Framebuffer* target) {
    KNScenePicture::setUp(target);
    scene->blendEnabled = true;
    cubeMesh = makePointMesh();
    blankMesh = makePointMesh();
    sectionOverlay.setUp(flatColorShader.get(), colorRampShader.get());
    exponentRampShader = std::make_unique<kinora::Shader>();
    markerShader = std::make_unique<kinora::Shader>();
    // A program that fails to load leaves its key bar or markers out; the picture still draws.
    try {
        exponentRampShader->load(resourcePath("shaders/basic", "vsh"),
                                 resourcePath("shaders/color_exponent", "fsh"));
        markerShader->load(resourcePath("shaders/basic", "vsh"),
                           resourcePath("shaders/marker", "fsh"));
    } catch (const std::exception& error) {
        std::cout << error.what() << std::endl;
    }
}

Seed* KNPlotPicture::addSeed() {
    assert(scene && "setUp comes first");
    KNSharedContext::makeCurrentAnywhere();
    SeedEntry entry;
    entry.seed = std::make_unique<Seed>(cubeMesh.get(), pickShader.get(), pathsPerSeed);
    Seed* seed = entry.seed.get();
    seed->createVertexArray();
    seed->sceneID = scene->addRenderable(seed);

    for (int i = 0; i < pathsPerSeed; ++i) {
        // Blank, with no GL object of its own until it is filled: opening a thousand seeds makes
        // none of their 20,000 paths' meshes while the window waits.
        auto path = std::make_unique<Path>(blankMesh.get(), pathShader.get(), GL_LINE_STRIP);
        path->seed = seed;
        path->sValue = static_cast<float>(i) / 19.0f;
        path->colouredByExponent = colouring == PathColouring::byExponent;
        path->setupAttributes = setupVertexAttributes;
        path->prepareDraw = preparePathDraw;
        seed->pathIDs[static_cast<std::size_t>(i)] = scene->addRenderable(path.get());
        path->dimmed = soloedPath >= 0;
        entry.paths.push_back(std::move(path));
    }
    seeds.push_back(std::move(entry));
    seedOrder.push_back(seed);
    movingSeedLayer.invalidate();
    return seed;
}

std::vector<const Path*> KNPlotPicture::pathsOf(const Seed* seed) const {
    std::vector<const Path*> result;
    for (const SeedEntry& entry : seeds) {
        if (entry.seed.get() == seed) {
            for (const auto& path : entry.paths) {
                result.push_back(path.get());
            }
        }
    }
    return result;
}

void KNPlotPicture::removeSeed(Seed* seed) {
    KNSharedContext::makeCurrentAnywhere();
    for (int pathID : seed->pathIDs) {
        scene->removeRenderable(pathID);
    }
    // Its indices are free for the next seed's paths.
    if (seed->hasPath(highlightedPath) || seed->hasPath(soloedPath)) {
        setPathFocus(seed->hasPath(highlightedPath) ? -1 : highlightedPath,
                     seed->hasPath(soloedPath) ? -1 : soloedPath);
    }
    scene->removeRenderable(seed->sceneID);
    seedOrder.erase(std::find(seedOrder.begin(), seedOrder.end(), seed));
    seeds.remove_if([seed](const SeedEntry& entry) { return entry.seed.get() == seed; });
}

void KNPlotPicture::enumerateSeedsWithBlock(const std::function<void(Seed*)>& block) {
    KNSharedContext::makeCurrentAnywhere();
    for (const SeedEntry& entry : seeds) {
        block(entry.seed.get());
    }
}

Seed* KNPlotPicture::seedAt(std::size_t index) const {
    return index < seedOrder.size() ? seedOrder[index] : nullptr;
}

std::size_t KNPlotPicture::indexOfSeed(const Seed* seed) const {
    const auto found = std::find_if(seeds.begin(), seeds.end(), [seed](const SeedEntry& entry) {
        return entry.seed.get() == seed;
    });
    assert(found != seeds.end() && "a seed of this view");
    return static_cast<std::size_t>(std::distance(seeds.begin(), found));
}

void KNPlotPicture::replacePathWithID(int pathIndex, const float* vertices,
                                      const std::uint32_t* indices, int vertexCount, int indexCount,
                                      float sValue, int hiddenVertices) {
    if (hiddenVertices > 0) {
        replacePathAfterTransient(pathIndex, vertices, vertexCount, sValue, hiddenVertices);
        return;
    }
    // The line starts at the seed itself rather than one step away from it, where a fast flow
    // would leave a visible gap.
    const kinora::Vector3 start = pathAt(pathIndex).seed->transform.position;
    const float startVertex[6] = {static_cast<float>(start.x),
                                  static_cast<float>(start.y),
                                  static_cast<float>(start.z),
                                  0.0f,
                                  0.0f,
                                  0.0f};
    const auto floats = static_cast<std::size_t>(6 * vertexCount);
    uploadVertices.assign(startVertex, startVertex + 6);
    uploadVertices.insert(uploadVertices.end(), vertices, vertices + floats);
    uploadIndices.assign(1, 0u);
    for (int i = 0; i < indexCount; ++i) {
        uploadIndices.push_back(indices[i] + 1);
    }
    uploadPath(pathIndex, uploadVertices.data(), uploadIndices.data(), vertexCount + 1,
               indexCount + 1, sValue, 0);
}

void KNPlotPicture::replacePathAfterTransient(int pathIndex, const float* vertices, int vertexCount,
                                              float sValue, int hiddenVertices) {
    const int shown = vertexCount - std::min(hiddenVertices, vertexCount);
    if (shown == 0) {
        blankPathWithID(pathIndex);
        return;
    }
    const float* first = vertices + 6 * static_cast<std::size_t>(hiddenVertices);
    uploadIndices.resize(static_cast<std::size_t>(shown));
    for (int i = 0; i < shown; ++i) {
        uploadIndices[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(i);
    }
    uploadPath(pathIndex, first, uploadIndices.data(), shown, shown, sValue, hiddenVertices + 1);
}

void KNPlotPicture::blankPathWithID(int pathIndex) {
    // Nothing is sent to the GL: a mesh drawing one index as a line strip draws nothing, and its
    // buffers are refilled by the path's next contents. Blanking the 20,000 paths of a large
    // recomputation's deferred fans then costs no uploads while the window waits.
    Path& path = pathAt(pathIndex);
    const bool wasBlank = path.drawsNothing();
    path.sValue = 0.0f;
    path.fullIndexCount = 1;
    path.firstStep = 0;
    limitToCursor(path);
    keptPicture.pathChanged(pathIndex, wasBlank, true);
    if (!wasBlank && (movingSeed == nullptr || !movingSeed->hasPath(pathIndex))) {
        movingSeedLayer.invalidate();
    }
}

Path& KNPlotPicture::pathAt(int pathIndex) const {
    assert(pathIndex >= 0 && static_cast<std::size_t>(pathIndex) < scene->renderables.size());
    auto* path = dynamic_cast<Path*>(scene->getRenderable(pathIndex));
    assert(path != nullptr && "pathIndex names a path of a seed");
    return *path;
}

void KNPlotPicture::pathLookChanged(int pathIndex) {
    const bool blank = pathAt(pathIndex).drawsNothing();
    keptPicture.pathChanged(pathIndex, blank, blank);
    movingSeedLayer.invalidate();
}

void KNPlotPicture::setPathColouring(PathColouring newColouring) {
    if (newColouring == colouring) {
        return;
    }
    colouring = newColouring;
    for (const SeedEntry& entry : seeds) {
        for (const std::unique_ptr<Path>& path : entry.paths) {
            path->colouredByExponent = colouring == PathColouring::byExponent;
        }
        for (int pathID : entry.seed->pathIDs) {
            pathLookChanged(pathID);
        }
    }
}

void KNPlotPicture::setPathExponentShade(int pathIndex, std::optional<float> shade) {
    Path& path = pathAt(pathIndex);
    if (path.exponentShade == shade) {
        return;
    }
    path.exponentShade = shade;
    if (colouring == PathColouring::byExponent) {
        pathLookChanged(pathIndex);
    }
}

void KNPlotPicture::setExponentKey(const QString& start, const QString& end) {
    exponentStart = start;
    exponentEnd = end;
}

void KNPlotPicture::setEquilibriumMarkers(const std::vector<KNEquilibriumMarker>& list) {
    KNSharedContext::makeCurrentAnywhere();
    markers.setMarkers(list);
}

void KNPlotPicture::giveOwnMesh(Path& path) {
    path.ownMesh = makePointMesh();
    path.mesh = path.ownMesh.get();
    path.createVertexArray();
    // The head, the id and the highlight of the path share its mesh.
    const auto sharing = [&](kinora::Shader* program, unsigned mode) {
        auto renderable = std::make_unique<kinora::Renderable>(path.mesh, program, mode);
        renderable->setupAttributes = setupVertexAttributes;
        renderable->createVertexArray();
        return renderable;
    };
    path.head = sharing(pathShader.get(), GL_POINTS);
    path.pick = sharing(pickShader.get(), GL_LINE_STRIP);
    path.highlight = sharing(pathShader.get(), GL_LINE_STRIP);
}

void KNPlotPicture::uploadPath(int pathIndex, const float* vertices, const std::uint32_t* indices,
                               int vertexCount, int indexCount, float sValue, int firstStep) {
    Path* path = &pathAt(pathIndex);
    KNSharedContext::makeCurrentAnywhere();
    const KNStopwatch uploading;
    if (!path->ownMesh) {
        giveOwnMesh(*path);
    }
    const bool wasBlank = path->drawsNothing();
    path->sValue = sValue;
    path->mesh->setData(vertices, indices, vertexCount, indexCount, 6);
    path->fullIndexCount = indexCount;
    path->firstStep = firstStep;
    limitToCursor(*path);
    keptPicture.pathChanged(pathIndex, wasBlank, path->drawsNothing());
    KNFrameStatistics::addUpload(uploading.elapsed());
    if (movingSeed == nullptr || !movingSeed->hasPath(pathIndex)) {
        movingSeedLayer.invalidate();
    }
}

void KNPlotPicture::setTimeFraction(double fraction) {
    _timeFraction = fraction;
    for (SeedEntry& entry : seeds) {
        for (const auto& path : entry.paths) {
            limitToCursor(*path);
        }
    }
    keptPicture.invalidate();
    movingSeedLayer.invalidate();
}

void KNPlotPicture::limitToCursor(Path& path) const {
    // Vertex j of the mesh lies firstStep + j steps after the seed. A line from its seed shows
    // that vertex always, so the head is at the seed at t = 0; a line after a transient shows
    // nothing before the transient ends. A blank path keeps its single index and draws nothing
    // either way.
    if (!path.ownMesh) {
        return;
    }
    const int steps = path.fullIndexCount - 1 + path.firstStep;
    const int reached = kinora::verticesUpToFraction(_timeFraction, steps);
    path.mesh->indexCount = std::clamp(reached - path.firstStep + 1, 0, path.fullIndexCount);
}

void KNPlotPicture::beginPathOverlay(kinora::Framebuffer& target) const {
    // Over the finished picture, into its colour only: the ids stay the paths' own.
    target.bind();
    const GLenum pictureOnly[2] = {GL_COLOR_ATTACHMENT0, GL_NONE};
    glDrawBuffers(2, pictureOnly);
    glViewport(0, 0, target.getWidth(), target.getHeight());
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    setSceneMatrices(*pathShader);
}

void KNPlotPicture::setSceneMatrices(kinora::Shader& program) const {
    const kinora::Matrix4 projection = scene->camera.updateProjection().projection;
    const kinora::Matrix4 view = scene->camera.viewMatrix() * scene->transform.modelMatrix();
    program.use();
    program.setUniformMatrix4fv("projectionMatrix", 1, false, projection.m);
    program.setUniformMatrix4fv("viewMatrix", 1, false, view.m);
}

void KNPlotPicture::drawHeads(kinora::Framebuffer& target, double pixelsPerPoint) {
    if (_timeFraction >= 1.0) {
        return;
    }
    beginPathOverlay(target);
    glPointSize(static_cast<float>(7.0 * pixelsPerPoint));
    for (const SeedEntry& entry : seeds) {
        for (std::size_t i = 0; i < entry.paths.size(); ++i) {
            const Path& path = *entry.paths[i];
            const int shown = path.mesh->indexCount;
            if (!path.head || path.fullIndexCount <= 1 || shown < 1) {
                continue;
            }
            pathShader->use();
            setPathColour(*pathShader, path);
            path.head->drawPart(shown - 1, 1);
        }
    }
    target.unbind();
}

void KNPlotPicture::drawHighlight(kinora::Framebuffer& target, double pixelsPerPoint) {
    if (highlightedPath < 0) {
        return;
    }
    for (const SeedEntry& entry : seeds) {
        for (std::size_t i = 0; i < entry.paths.size(); ++i) {
            const Path& path = *entry.paths[i];
            if (entry.seed->pathIDs[i] != highlightedPath || path.drawsNothing()) {
                continue;
            }
            beginPathOverlay(target);
            glLineWidth(static_cast<float>(highlightWidth * pixelsPerPoint));
            setPathColour(*pathShader, path);
            pathShader->setUniform1f("dimming", 0.0f);
            path.highlight->draw();
            glLineWidth(static_cast<float>(pixelsPerPoint));
            target.unbind();
        }
    }
}

void KNPlotPicture::setPathFocus(int highlighted, int soloed) {
    highlightedPath = highlighted;
    if (soloed == soloedPath) {
        return;
    }
    soloedPath = soloed;
    for (const SeedEntry& entry : seeds) {
        for (std::size_t i = 0; i < entry.paths.size(); ++i) {
            entry.paths[i]->dimmed = soloed >= 0 && entry.seed->pathIDs[i] != soloed;
        }
    }
    keptPicture.invalidate();
    movingSeedLayer.invalidate();
}

std::pair<Seed*, int> KNPlotPicture::evolutionOf(const kinora::Renderable* r) const {
    for (const SeedEntry& entry : seeds) {
        for (std::size_t i = 0; i < entry.paths.size(); ++i) {
            if (entry.paths[i].get() == r) {
                return {entry.seed.get(), static_cast<int>(i)};
            }
        }
    }
    return {nullptr, -1};
}

void KNPlotPicture::invalidateMovingSeedLayer() {
    movingSeedLayer.invalidate();
}

void KNPlotPicture::drawPathIDs(kinora::Framebuffer& target, double pixelsPerPoint) {
    target.bind();
    const GLenum idsOnly[2] = {GL_NONE, GL_COLOR_ATTACHMENT1};
    glDrawBuffers(2, idsOnly);
    glViewport(0, 0, target.getWidth(), target.getHeight());
    // Against the depth the picture left, without changing it: a path's id lands only where it
    // is as near as the nearest path drawn there, which is the one the picture shows.
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_FALSE);
    glDisable(GL_BLEND);
    glLineWidth(static_cast<float>(pixelsPerPoint));
    setSceneMatrices(*pickShader);
    for (const SeedEntry& entry : seeds) {
        for (std::size_t i = 0; i < entry.paths.size(); ++i) {
            if (entry.paths[i]->drawsNothing()) {
                continue;
            }
            pickShader->use();
            pickShader->setUniform1i("objectID", entry.seed->pathIDs[i] + 1);
            entry.paths[i]->pick->draw();
        }
    }
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LESS);
    target.unbind();
    // The seeds again over the paths, so a seed is found wherever it shows.
    scene->drawPickImage(
        [this](int, kinora::Renderable& r) { return r.shader == pickShader.get(); }, false);
}

bool KNPlotPicture::drawPicture(kinora::Framebuffer& target, kinora::ScenePass& pass,
                                kinora::ScenePass::Clock::time_point deadline) {
    // With a single seed there is nothing to keep: drawing it all is as cheap.
    if (movingSeed != nullptr && seeds.size() > 1 && &target == scene->framebuffer) {
        // The layer keeps its own progress across the frames of a drag.
        return movingSeedLayer.draw(*scene, target, *movingSeed, deadline);
    }
    if (&target == scene->framebuffer) {
        return keptPicture.draw(*scene, target, pass, deadline);
    }
    return KNScenePicture::drawPicture(target, pass, deadline);
}

namespace {

// The colour key's place, in points from the lower left corner.
constexpr double keyMargin = 12.0;
constexpr double keyBottom = 4.0;
constexpr double keyBarHeight = 8.0;
constexpr double shortestKeyBar = 96.0;

// text in lines no wider than width where it can be broken, after the commas between values.
QStringList wrapped(const QString& text, double width) {
    QStringList lines;
    const QString separator = QStringLiteral(", ");
    for (const QString& piece : text.split(separator)) {
        if (!lines.isEmpty() &&
            KNLabelRenderer::textSize(lines.back() + separator + piece).width() <= width) {
            lines.back() += separator + piece;
        } else {
            if (!lines.isEmpty()) {
                lines.back() += QLatin1Char(',');
            }
            lines << piece;
        }
    }
    return lines;
}

} // namespace

void KNPlotPicture::setSweepKey(const QString& start, const QString& end) {
    sweepStart = start;
    sweepEnd = end;
}

const QString& KNPlotPicture::keyStart() const {
    return colouring == PathColouring::byExponent ? exponentStart : sweepStart;
}

const QString& KNPlotPicture::keyEnd() const {
    return colouring == PathColouring::byExponent ? exponentEnd : sweepEnd;
}

KNPlotPicture::KeyLayout KNPlotPicture::keyLayout(QSizeF picture) const {
    KeyLayout key;
    if (keyStart().isEmpty() && keyEnd().isEmpty()) {
        return key;
    }
    const double room = std::max(picture.width() - 2.0 * keyMargin, 1.0);
    const QStringList startLines = wrapped(keyStart(), room);
    const QStringList endLines = wrapped(keyEnd(), room);
    // The bar is as wide as the widest line, so the end's text under its right end never
    // reaches past its left one.
    double widest = shortestKeyBar;
    for (const QString& line : startLines + endLines) {
        widest = std::max(widest, KNLabelRenderer::textSize(line).width());
    }
    const double lineHeight = KNLabelRenderer::textSize(QStringLiteral("0")).height();
    const double barBottom = keyBottom + static_cast<double>(endLines.size()) * lineHeight + 1.0;
    key.bar = QRectF(keyMargin, barBottom, std::min(widest, room), keyBarHeight);
    // The start's text above the bar's start, the end's below its end.
    for (qsizetype i = 0; i < startLines.size(); ++i) {
        KNLabel line;
        line.text = startLines[i];
        line.anchor = KNLabel::Anchor::view;
        line.position = kinora::Vector3(
            key.bar.left(),
            key.bar.bottom() + 1.0 + static_cast<double>(startLines.size() - 1 - i) * lineHeight,
            0.0);
        key.texts.push_back(line);
    }
    for (qsizetype i = 0; i < endLines.size(); ++i) {
        KNLabel line;
        line.text = endLines[i];
        line.anchor = KNLabel::Anchor::view;
        line.position = kinora::Vector3(
            key.bar.right(), key.bar.top() - 1.0 - static_cast<double>(i) * lineHeight, 0.0);
        line.horizontalAlignment = 1.0;
        line.verticalAlignment = 1.0;
        key.texts.push_back(line);
    }
    return key;
}

void KNPlotPicture::drawOverlay(kinora::Framebuffer& target, double pixelsPerPoint) {
    sectionOverlay.draw(target, scene->camera.updateProjection().projection,
                        scene->camera.viewMatrix() * scene->transform.modelMatrix(),
                        pixelsPerPoint);
    drawHeads(target, pixelsPerPoint);
    drawHighlight(target, pixelsPerPoint);
    const KeyLayout key =
        keyLayout(QSizeF(target.getWidth() / pixelsPerPoint, target.getHeight() / pixelsPerPoint));
    markers.draw(*scene, *markerShader, target, pixelsPerPoint);
    if (!key.bar.isEmpty()) {
        kinora::Shader& ramp =
            colouring == PathColouring::byExponent ? *exponentRampShader : *colorRampShader;
        labelRenderer->drawColourBar(ramp, key.bar, target, pixelsPerPoint);
    }
    KNScenePicture::drawOverlay(target, pixelsPerPoint);
}

std::vector<KNLabel> KNPlotPicture::labels(QSizeF picture) const {
    // The key first: the axes' labels give way to it.
    std::vector<KNLabel> result = keyLayout(picture).texts;
    const std::vector<KNLabel> axes =
        axisLabels({QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")}, true, picture);
    result.insert(result.end(), axes.begin(), axes.end());
    return result;
}

void KNPlotPicture::setSectionPlane(const std::optional<std::array<kinora::Vector3, 4>>& corners,
                                    int axis) {
    KNSharedContext::makeCurrentAnywhere();
    sectionOverlay.setPlane(corners);
    sectionAxis = axis;
    if (corners) {
        sectionCentre = ((*corners)[0] + (*corners)[2]) * 0.5;
    }
}

void KNPlotPicture::setSectionDots(const std::vector<float>& dots) {
    KNSharedContext::makeCurrentAnywhere();
    sectionOverlay.setDots(dots);
}
