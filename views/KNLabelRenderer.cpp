#include "KNLabelRenderer.h"

#include "Framebuffer.h"
#include "KNRenderCallbacks.h"
#include "Matrix4.h"
#include "Scene.h"
#include "Shader.h"
#include "Texture2D.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <epoxy/gl.h>
#include <exception>
#include <iostream>
#include <numbers>
#include <optional>

namespace {

constexpr double fontPointSize = 10.0;
// The dark outline round every glyph, in points: keeps light text legible over bright paths.
constexpr double outlineWidth = 2.5;
// How many draws a text image is kept after its last use.
constexpr std::uint64_t keptDraws = 64;

// Text drawn as glyphs, never as outlines taken from the font: outlines read back as paths
// depend on what text the process drew before, so the same label could come out with other
// pixels in another window or another run. The dark rim is the text drawn in black on rings of
// offsets out to radius pixels.
void drawOutlinedText(QImage& pixels, const QFont& font, QPointF baseline, const QString& text,
                      const QColor& colour, double radius) {
    QImage rim(pixels.size(), QImage::Format_RGBA8888_Premultiplied);
    rim.fill(Qt::transparent);
    {
        QPainter painter(&rim);
        painter.setFont(font);
        painter.setPen(Qt::black);
        constexpr int directions = 16;
        const int rings = std::max(1, static_cast<int>(std::ceil(radius)));
        for (int ring = 1; ring <= rings; ++ring) {
            const double distance = radius * ring / rings;
            for (int k = 0; k < directions; ++k) {
                const double angle = 2.0 * std::numbers::pi * k / directions;
                painter.drawText(
                    baseline + QPointF(distance * std::cos(angle), distance * std::sin(angle)),
                    text);
            }
        }
    }
    QPainter painter(&pixels);
    painter.setOpacity(220.0 / 255.0);
    painter.drawImage(0, 0, rim);
    painter.setOpacity(1.0);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(baseline, text);
}

QFont labelFont(double pixelsPerPoint) {
    QFont font;
    font.setPixelSize(static_cast<int>(std::lround(fontPointSize * 96.0 / 72.0 * pixelsPerPoint)));
    return font;
}

// Draws into colour attachment 0 only, over what is there, in device pixels.
void bindPictureOf(kinora::Framebuffer& target) {
    target.bind();
    const GLenum pictureOnly[2] = {GL_COLOR_ATTACHMENT0, GL_NONE};
    glDrawBuffers(2, pictureOnly);
    glViewport(0, 0, target.getWidth(), target.getHeight());
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_STENCIL_TEST);
}

// Where a label's box goes: inside the picture and clear of the boxes placed before it, moved
// up or down by whole box heights when it would cover one; nothing for a crowdable label that
// does not fit where it is.
std::optional<QRectF> placeBox(QRectF box, const QRectF& picture, bool crowdable,
                               const std::vector<QRectF>& placed) {
    const auto clear = [&](const QRectF& candidate) {
        return std::none_of(placed.begin(), placed.end(),
                            [&](const QRectF& other) { return other.intersects(candidate); });
    };
    if (crowdable) {
        if (!picture.contains(box) || !clear(box)) {
            return std::nullopt;
        }
        return box;
    }
    const auto inside = [&](QRectF candidate) {
        candidate.moveLeft(
            std::clamp(candidate.left(), picture.left(),
                       std::max(picture.left(), picture.right() - candidate.width())));
        candidate.moveTop(
            std::clamp(candidate.top(), picture.top(),
                       std::max(picture.top(), picture.bottom() - candidate.height())));
        return candidate;
    };
    const QRectF start = inside(box);
    constexpr int mostMoves = 8;
    for (int move = 0; move <= mostMoves; ++move) {
        for (const double direction : {1.0, -1.0}) {
            const QRectF candidate = inside(start.translated(0.0, direction * move * box.height()));
            if (clear(candidate)) {
                return candidate;
            }
        }
    }
    return start;
}

} // namespace

QSizeF KNLabelRenderer::textSize(const QString& text) {
    const QFontMetricsF metrics(labelFont(1.0));
    const double margin = std::ceil(outlineWidth);
    return {std::ceil(metrics.horizontalAdvance(shownText(text)) + 2 * margin),
            std::ceil(metrics.height() + 2 * margin)};
}

KNLabelRenderer::KNLabelRenderer() = default;

KNLabelRenderer::~KNLabelRenderer() {
    if (vertexArray != 0) {
        glDeleteVertexArrays(1, &vertexArray);
        glDeleteBuffers(1, &vertexBuffer);
    }
}

void KNLabelRenderer::load(const std::string& vertexPath, const std::string& fragmentPath) {
    auto loaded = std::make_unique<kinora::Shader>();
    try {
        loaded->load(vertexPath, fragmentPath);
    } catch (const std::exception& error) {
        std::cout << error.what() << std::endl;
        return;
    }
    program = std::move(loaded);
    glGenVertexArrays(1, &vertexArray);
    glGenBuffers(1, &vertexBuffer);
}

QString KNLabelRenderer::shownText(const QString& text) {
    if (text.size() <= maxShownCharacters) {
        return text;
    }
    qsizetype kept = maxShownCharacters - 1;
    // Never half of a character outside the basic plane.
    if (text.at(kept - 1).isHighSurrogate()) {
        --kept;
    }
    return text.left(kept) + QChar(0x2026);
}

KNLabelRenderer::TextImage& KNLabelRenderer::imageFor(const KNLabel& label, double pixelsPerPoint) {
    TextImage& image = images[{label.text, label.colour.rgba(), pixelsPerPoint}];
    image.lastDraw = drawCount;
    if (image.texture) {
        return image;
    }
    const QString text = shownText(label.text);
    const QFont font = labelFont(pixelsPerPoint);
    const QFontMetricsF metrics(font);
    const double margin = std::ceil(outlineWidth * pixelsPerPoint);
    const int width = static_cast<int>(std::ceil(metrics.horizontalAdvance(text) + 2 * margin));
    const int height = static_cast<int>(std::ceil(metrics.height() + 2 * margin));
    QImage pixels(std::max(width, 1), std::max(height, 1), QImage::Format_RGBA8888_Premultiplied);
    pixels.fill(Qt::transparent);
    drawOutlinedText(pixels, font, QPointF(margin, margin + metrics.ascent()), text, label.colour,
                     outlineWidth * pixelsPerPoint / 2.0);
    image.texture = std::make_unique<Texture2D>(GL_RGBA, GL_RGBA, GL_UNSIGNED_BYTE, pixels.width(),
                                                pixels.height());
    image.texture->setData(pixels.constBits());
    return image;
}

void KNLabelRenderer::drawQuad(const kinora::Shader& shader, const float (&vertices)[24]) {
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof vertices, vertices, GL_STREAM_DRAW);
    setupVertexAttributesOf(shader);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
}

void KNLabelRenderer::draw(const std::vector<KNLabel>& labels, kinora::Scene& scene,
                           kinora::Framebuffer& target, double pixelsPerPoint) {
    if (!program || labels.empty()) {
        return;
    }
    ++drawCount;
    const kinora::Matrix4 projection = scene.camera.updateProjection().projection;
    const kinora::Matrix4 toClip =
        projection * scene.camera.viewMatrix() * scene.transform.modelMatrix();
    const double width = target.getWidth();
    const double height = target.getHeight();

    bindPictureOf(target);
    glEnable(GL_BLEND);
    // The images are premultiplied by their alpha.
    glBlendFuncSeparate(GL_ONE, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    program->use();
    program->setUniform2f("targetSize", static_cast<float>(width), static_cast<float>(height));
    glUniform1i(program->uniformLocation("texture0"), 0);

    // Where a scene point lands on the picture, in pixels; nothing behind the eye.
    const auto project = [&](kinora::Vector3 p) -> std::optional<QPointF> {
        const float* m = toClip.m;
        const double w = m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15];
        if (w <= 1e-6) {
            return std::nullopt;
        }
        return QPointF(((m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12]) / w + 1.0) / 2.0 * width,
                       ((m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13]) / w + 1.0) / 2.0 * height);
    };
    // Boxes in pixels with y growing upwards, as the quads are.
    const QRectF picture(0.0, 0.0, width, height);
    std::vector<QRectF> placed;
    for (const KNLabel& label : labels) {
        QPointF at(label.position.x * pixelsPerPoint, label.position.y * pixelsPerPoint);
        if (label.anchor == KNLabel::Anchor::scene) {
            const std::optional<QPointF> projected = project(label.position);
            if (!projected) {
                continue;
            }
            at = *projected;
        }
        const TextImage& image = imageFor(label, pixelsPerPoint);
        const double w = image.texture->width;
        const double h = image.texture->height;
        // Whole pixels keep the glyphs as sharp as they were rasterised.
        const double left =
            std::round(at.x() - label.horizontalAlignment * w + label.offsetX * pixelsPerPoint);
        const double bottom =
            std::round(at.y() - label.verticalAlignment * h + label.offsetY * pixelsPerPoint);
        const std::optional<QRectF> box =
            placeBox(QRectF(left, bottom, w, h), picture, label.crowdable, placed);
        if (!box) {
            continue;
        }
        placed.push_back(*box);
        const auto l = static_cast<float>(box->left());
        const auto b = static_cast<float>(box->top());
        const auto r = static_cast<float>(box->left() + w);
        const auto t = static_cast<float>(box->top() + h);
        // Image rows run top-down, so the quad's top takes texture row 0.
        const float quad[24] = {l, b, 0, 0, 1, 0, r, b, 0, 1, 1, 0,
                                l, t, 0, 0, 0, 0, r, t, 0, 1, 0, 0};
        image.texture->bindToUnit(GL_TEXTURE0);
        drawQuad(*program, quad);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    target.unbind();

    // Texts shown before stay rasterised for a while: an export drawn between the window's
    // pictures finds its own again (and so draws the same pixels as one drawn at once).
    for (auto it = images.begin(); it != images.end();) {
        it = drawCount - it->second.lastDraw > keptDraws ? images.erase(it) : std::next(it);
    }
}

void KNLabelRenderer::drawColourBar(kinora::Shader& rampProgram, QRectF bar,
                                    kinora::Framebuffer& target, double pixelsPerPoint) {
    if (vertexArray == 0 || !rampProgram.linked) {
        return;
    }
    const double width = target.getWidth();
    const double height = target.getHeight();
    const auto clipX = [&](double points) {
        return static_cast<float>(std::round(points * pixelsPerPoint) / width * 2.0 - 1.0);
    };
    const auto clipY = [&](double points) {
        return static_cast<float>(std::round(points * pixelsPerPoint) / height * 2.0 - 1.0);
    };
    const float l = clipX(bar.left()), r = clipX(bar.right());
    const float b = clipY(bar.top()), t = clipY(bar.bottom());
    // The second triple is the place in the sweep the programs colour by.
    const float quad[24] = {l, b, 0, 0, 0, 0, r, b, 0, 1, 1, 1, l, t, 0, 0, 0, 0, r, t, 0, 1, 1, 1};
    const kinora::Matrix4 identity;
    bindPictureOf(target);
    glDisable(GL_BLEND);
    rampProgram.use();
    rampProgram.setUniformMatrix4fv("projectionMatrix", 1, false, identity.m);
    rampProgram.setUniformMatrix4fv("viewMatrix", 1, false, identity.m);
    rampProgram.setUniformMatrix4fv("modelMatrix", 1, false, identity.m);
    drawQuad(rampProgram, quad);
    target.unbind();
}
