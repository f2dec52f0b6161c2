#include "KNTimeSeriesPicture.h"

#include "Framebuffer.h"
#include "KNLabelRenderer.h"
#include "KNRenderCallbacks.h"
#include "KNSharedContext.h"
#include "Mesh.h"
#include "Renderable.h"
#include "Scene.h"
#include "Shader.h"

#include <array>
#include <epoxy/gl.h>
#include <iostream>

namespace {

// What the picture says while no seed is selected.
const QString noSeedText =
    QStringLiteral("Click a seed (or Add Seed) to see its x, y and z against time");

const std::array<QString, 3> componentNames = {QStringLiteral("x"), QStringLiteral("y"),
                                               QStringLiteral("z")};
// The axes' colours of the plot view, so each plot's name says which axis it is.
const std::array<QColor, 3> componentColours = {QColor(255, 150, 150), QColor(150, 255, 150),
                                                QColor(160, 170, 255)};
constexpr float frameGrey = 0.45f;
constexpr float gridGrey = 0.2f;
constexpr float cursorGrey = 0.85f;
constexpr double tickLength = 4.0;
// A highlighted trace's width in points, as the plot view draws a highlighted path.
constexpr double highlightWidth = 3.0;

QString tickText(double value) {
    return QString::number(value, 'g', 6);
}

kinora::TimeSeriesLabelMetrics labelMetrics() {
    return {[](double value) { return KNLabelRenderer::textSize(tickText(value)).width(); },
            KNLabelRenderer::textSize(QStringLiteral("0")).height()};
}

// Six floats a vertex: the position, then the colour color_flat shows.
void addSegment(std::vector<float>& vertices, double x0, double y0, double x1, double y1,
                float grey) {
    for (const auto& [x, y] : {std::pair{x0, y0}, std::pair{x1, y1}}) {
        vertices.insert(vertices.end(),
                        {static_cast<float>(x), static_cast<float>(y), 0.0f, grey, grey, grey});
    }
}

} // namespace

KNTimeSeriesPicture::KNTimeSeriesPicture() = default;

KNTimeSeriesPicture::~KNTimeSeriesPicture() {
    attachContextForTeardown();
}

void KNTimeSeriesPicture::setTraceFocus(int highlighted, int soloed) {
    highlightedTrace = highlighted;
    soloedTrace = soloed;
}

void KNTimeSeriesPicture::setUp(kinora::Framebuffer* target) {
    KNScenePicture::setUp(target);
    traceShader = std::make_unique<kinora::Shader>();
    traceIDShader = std::make_unique<kinora::Shader>();
    for (const auto& [program, fragment] : {std::pair{traceShader.get(), "shaders/path"},
                                            {traceIDShader.get(), "shaders/white_pick"}}) {
        try {
            program->load(resourcePath("shaders/time_series", "vsh"),
                          resourcePath(fragment, "fsh"));
        } catch (const std::exception& error) {
            std::cout << error.what() << std::endl;
        }
    }
    frameMesh = makePointMesh();
    frame = std::make_unique<kinora::Renderable>(frameMesh.get(), flatColorShader.get(), GL_LINES);
    frame->setupAttributes = setupVertexAttributes;
    frame->createVertexArray();
}

bool KNTimeSeriesPicture::showTraces(const std::vector<Trace>& shown,
                                     const kinora::BoundingBox& dataBounds, double pathStep,
                                     double pathDuration) {
    KNSharedContext::makeCurrentAnywhere();
    // The same paths refilled (the usual case during a drag) keep their vertex arrays.
    bool sameMeshes = traces.size() == shown.size();
    for (std::size_t i = 0; sameMeshes && i < shown.size(); ++i) {
        sameMeshes = traces[i]->mesh == shown[i].mesh;
    }
    if (!sameMeshes) {
        dropTraces();
    }
    traceValues.clear();
    traceFirstSteps.clear();
    for (const Trace& trace : shown) {
        traceValues.push_back(trace.sValue);
        traceFirstSteps.push_back(trace.firstStep);
        if (sameMeshes) {
            continue;
        }
        for (auto [program, list] :
             {std::pair{traceShader.get(), &traces}, {traceIDShader.get(), &tracePicks}}) {
            auto renderable =
                std::make_unique<kinora::Renderable>(trace.mesh, program, GL_LINE_STRIP);
            renderable->setupAttributes = setupVertexAttributes;
            renderable->createVertexArray();
            list->push_back(std::move(renderable));
        }
        tracePickIDs.push_back(scene->addRenderable(tracePicks.back().get()));
    }
    bounds = dataBounds;
    step = pathStep;
    duration = pathDuration;
    hasSeed = true;
    return !sameMeshes;
}

void KNTimeSeriesPicture::setTimeFraction(double fraction) {
    timeFraction = fraction;
}

void KNTimeSeriesPicture::dropTraces() {
    traces.clear();
    for (int id : tracePickIDs) {
        scene->removeRenderable(id);
    }
    tracePickIDs.clear();
    tracePicks.clear();
    highlightedTrace = -1;
    soloedTrace = -1;
}

void KNTimeSeriesPicture::showNoSeed() {
    KNSharedContext::makeCurrentAnywhere();
    dropTraces();
    traceValues.clear();
    traceFirstSteps.clear();
    hasSeed = false;
}

kinora::TimeSeriesLayout KNTimeSeriesPicture::layout(double width, double height) const {
    return kinora::layoutTimeSeries(bounds, duration, width, height, labelMetrics());
}

bool KNTimeSeriesPicture::drawPicture(kinora::Framebuffer& target, kinora::ScenePass& pass,
                                      kinora::ScenePass::Clock::time_point) {
    const double pixelsPerPoint = devicePixelRatio();
    const double width = target.getWidth() / pixelsPerPoint;
    const double height = target.getHeight() / pixelsPerPoint;
    target.bind();
    const GLenum pictureOnly[2] = {GL_COLOR_ATTACHMENT0, GL_NONE};
    glDrawBuffers(2, pictureOnly);
    glViewport(0, 0, target.getWidth(), target.getHeight());
    const auto& c = target.clearColor;
    const float colour[4] = {static_cast<float>(c.x), static_cast<float>(c.y),
                             static_cast<float>(c.z), static_cast<float>(c.w)};
    glClearBufferfv(GL_COLOR, 0, colour);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    pass.done = true;
    if (!hasSeed) {
        target.unbind();
        return true;
    }

    const kinora::TimeSeriesLayout plots = layout(width, height);
    buildFrame(plots, width, height);
    const kinora::Matrix4 identity;
    flatColorShader->use();
    for (const char* matrix : {"projectionMatrix", "viewMatrix"}) {
        flatColorShader->setUniformMatrix4fv(matrix, 1, false, identity.m);
    }
    // The drawing context is shared: the width another picture's lines left is no default.
    glLineWidth(static_cast<float>(pixelsPerPoint));
    frame->draw();

    drawEachTrace(*traceShader, target, [&](std::size_t i) {
        traceShader->setUniform1f("evolution", traceValues[i]);
        const bool dimmed = soloedTrace >= 0 && static_cast<int>(i) != soloedTrace;
        traceShader->setUniform1f("dimming", dimmed ? pathDimming : 0.0f);
        traces[i]->draw();
    });
    if (highlightedTrace >= 0 && static_cast<std::size_t>(highlightedTrace) < traces.size()) {
        const auto highlighted = static_cast<std::size_t>(highlightedTrace);
        glLineWidth(static_cast<float>(highlightWidth * pixelsPerPoint));
        drawEachTrace(*traceShader, target, [&](std::size_t i) {
            if (i == highlighted) {
                traceShader->setUniform1f("evolution", traceValues[i]);
                traceShader->setUniform1f("dimming", 0.0f);
                traces[i]->draw();
            }
        });
        glLineWidth(static_cast<float>(pixelsPerPoint));
    }
    target.unbind();
    return true;
}

void KNTimeSeriesPicture::drawEachTrace(kinora::Shader& program, const kinora::Framebuffer& target,
                                        const std::function<void(std::size_t)>& drawTrace) const {
    const double pixelsPerPoint = devicePixelRatio();
    const double width = target.getWidth() / pixelsPerPoint;
    const double height = target.getHeight() / pixelsPerPoint;
    const kinora::TimeSeriesLayout plots = layout(width, height);
    // Points to clip coordinates, then time and value to points.
    const auto toClip = [](const kinora::Affine& toPoints, double extent) {
        return kinora::Affine{toPoints.scale * 2.0 / extent, toPoints.offset * 2.0 / extent - 1.0};
    };
    const kinora::Affine timeToClip = toClip(plots.timeToPicture, width);
    program.use();
    program.setUniform1f("step", static_cast<float>(step));
    program.setUniform2f("timeToClip", static_cast<float>(timeToClip.scale),
                         static_cast<float>(timeToClip.offset));
    glEnable(GL_SCISSOR_TEST);
    for (int component = 0; component < 3; ++component) {
        const kinora::TimeSeriesBand& band = plots.bands[static_cast<std::size_t>(component)];
        // A point beyond the band (a float rounded past the range) stays inside its plot.
        glScissor(static_cast<GLint>(band.area.left * pixelsPerPoint),
                  static_cast<GLint>(band.area.bottom * pixelsPerPoint),
                  static_cast<GLsizei>(std::ceil(band.area.width * pixelsPerPoint)) + 1,
                  static_cast<GLsizei>(std::ceil(band.area.height * pixelsPerPoint)) + 1);
        const kinora::Affine valueToClip = toClip(band.valueToPicture, height);
        program.use();
        program.setUniform1i("component", component);
        program.setUniform2f("valueToClip", static_cast<float>(valueToClip.scale),
                             static_cast<float>(valueToClip.offset));
        for (std::size_t i = 0; i < traces.size(); ++i) {
            if (!traces[i]->drawsNothing()) {
                program.setUniform1i("firstStep", traceFirstSteps[i]);
                drawTrace(i);
            }
        }
    }
    glDisable(GL_SCISSOR_TEST);
}

void KNTimeSeriesPicture::drawPickImage(kinora::Framebuffer& target, double pixelsPerPoint) {
    target.bind();
    const GLenum idsOnly[2] = {GL_NONE, GL_COLOR_ATTACHMENT1};
    glDrawBuffers(2, idsOnly);
    const GLuint noObject[4] = {0, 0, 0, 0};
    glClearBufferuiv(GL_COLOR, 1, noObject);
    if (hasSeed) {
        glViewport(0, 0, target.getWidth(), target.getHeight());
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glLineWidth(static_cast<float>(pixelsPerPoint));
        // In the picture's order, so where traces cross the id is the one drawn on top.
        drawEachTrace(*traceIDShader, target, [&](std::size_t i) {
            traceIDShader->setUniform1i("objectID", tracePickIDs[i] + 1);
            tracePicks[i]->draw();
        });
    }
    target.unbind();
}

int KNTimeSeriesPicture::traceOf(const kinora::Renderable* pick) const {
    for (std::size_t i = 0; i < tracePicks.size(); ++i) {
        if (tracePicks[i].get() == pick) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void KNTimeSeriesPicture::buildFrame(const kinora::TimeSeriesLayout& plots, double width,
                                     double height) {
    std::vector<float> vertices;
    const auto clipX = [&](double x) { return x * 2.0 / width - 1.0; };
    const auto clipY = [&](double y) { return y * 2.0 / height - 1.0; };
    const auto segment = [&](double x0, double y0, double x1, double y1, float grey) {
        addSegment(vertices, clipX(x0), clipY(y0), clipX(x1), clipY(y1), grey);
    };
    for (const kinora::TimeSeriesBand& band : plots.bands) {
        const double l = band.area.left;
        const double b = band.area.bottom;
        const double r = l + band.area.width;
        const double t = b + band.area.height;
        for (double tick : band.ticks) {
            const double y = band.valueToPicture(tick);
            segment(l, y, r, y, gridGrey);
            segment(l - tickLength, y, l, y, frameGrey);
        }
        for (double tick : plots.timeTicks) {
            const double x = plots.timeToPicture(tick);
            segment(x, b, x, t, gridGrey);
        }
        segment(l, b, r, b, frameGrey);
        segment(r, b, r, t, frameGrey);
        segment(r, t, l, t, frameGrey);
        segment(l, t, l, b, frameGrey);
    }
    const kinora::TimeSeriesBand& lowest = plots.bands[2];
    for (double tick : plots.timeTicks) {
        const double x = plots.timeToPicture(tick);
        segment(x, lowest.area.bottom - tickLength, x, lowest.area.bottom, frameGrey);
    }
    if (timeFraction < 1.0) {
        const double x = plots.timeToPicture(timeFraction * duration);
        const kinora::TimeSeriesBand& highest = plots.bands[0];
        segment(x, lowest.area.bottom, x, highest.area.bottom + highest.area.height, cursorGrey);
    }
    std::vector<unsigned> indices(vertices.size() / 6);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        indices[i] = static_cast<unsigned>(i);
    }
    frameMesh->setData(vertices.data(), indices.data(), static_cast<int>(indices.size()),
                       static_cast<int>(indices.size()), 6);
}

void KNTimeSeriesPicture::drawOverlay(kinora::Framebuffer& target, double pixelsPerPoint) {
    const double width = target.getWidth() / pixelsPerPoint;
    const double height = target.getHeight() / pixelsPerPoint;
    std::vector<KNLabel> shown;
    if (!hasSeed) {
        KNLabel hint;
        hint.text = noSeedText;
        hint.anchor = KNLabel::Anchor::view;
        hint.position = kinora::Vector3(width / 2.0, height / 2.0, 0.0);
        hint.horizontalAlignment = 0.5;
        hint.verticalAlignment = 0.5;
        shown.push_back(hint);
    } else {
        shown = labelsFor(layout(width, height));
    }
    labelRenderer->draw(shown, *scene, target, pixelsPerPoint);
}

std::vector<KNLabel> KNTimeSeriesPicture::labelsFor(const kinora::TimeSeriesLayout& plots) const {
    std::vector<KNLabel> result;
    const auto viewLabel = [](QString text, double x, double y, double alignX, double alignY) {
        KNLabel label;
        label.text = std::move(text);
        label.anchor = KNLabel::Anchor::view;
        label.position = kinora::Vector3(x, y, 0.0);
        label.horizontalAlignment = alignX;
        label.verticalAlignment = alignY;
        return label;
    };
    for (std::size_t component = 0; component < 3; ++component) {
        const kinora::TimeSeriesBand& band = plots.bands[component];
        for (double tick : band.ticks) {
            result.push_back(viewLabel(tickText(tick), band.area.left - tickLength,
                                       band.valueToPicture(tick), 1.0, 0.5));
        }
        KNLabel name = viewLabel(componentNames[component], band.area.left + 2.0,
                                 band.area.bottom + band.area.height, 0.0, 1.0);
        name.colour = componentColours[component];
        result.push_back(name);
    }
    const kinora::TimeSeriesBand& lowest = plots.bands[2];
    for (double tick : plots.timeTicks) {
        result.push_back(viewLabel(tickText(tick), plots.timeToPicture(tick),
                                   lowest.area.bottom - tickLength, 0.5, 1.0));
    }
    KNLabel t = viewLabel(QStringLiteral("t"), lowest.area.left + lowest.area.width,
                          lowest.area.bottom + 2.0, 1.0, 0.0);
    result.push_back(t);
    return result;
}
