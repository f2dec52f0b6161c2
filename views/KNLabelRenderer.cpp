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
#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <epoxy/gl.h>
#include <exception>
#include <iostream>
#include <optional>

namespace {

constexpr double fontPointSize = 10.0;
// The dark outline round every glyph, in points: keeps light text legible over bright paths.
constexpr double outlineWidth = 2.5;

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

// The point of the segment from inner (inside area) to outer (outside) where it leaves area.
QPointF lastPointInside(QPointF inner, QPointF outer, const QRectF& area) {
    double t = 1.0;
    const QPointF d = outer - inner;
    const auto limit = [&](double start, double delta, double low, double high) {
        if (delta > 0.0 && start + t * delta > high) {
            t = (high - start) / delta;
        } else if (delta < 0.0 && start + t * delta < low) {
            t = (low - start) / delta;
        }
    };
    limit(inner.x(), d.x(), area.left(), area.right());
    limit(inner.y(), d.y(), area.top(), area.bottom());
    return inner + d * t;
}

} // namespace

KNLabelRenderer::KNLabelRenderer() = default;

KNLabelRenderer::~KNLabelRenderer() {
    if (vertexArray != 0) {
        glDeleteVertexArrays(1, &vertexArray);
        glDeleteBuffers(1, &vertexBuffer);
    }
}

QSizeF KNLabelRenderer::textSize(const QString& text) {
    const QFontMetricsF metrics(labelFont(1.0));
    const double margin = std::ceil(outlineWidth);
    return {metrics.horizontalAdvance(text) + 2 * margin, metrics.height() + 2 * margin};
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
    image.used = true;
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
    {
        QPainter painter(&pixels);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addText(margin, margin + metrics.ascent(), font, text);
        painter.strokePath(path, QPen(QColor(0, 0, 0, 220), outlineWidth * pixelsPerPoint,
                                      Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.fillPath(path, label.colour);
    }
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
    for (auto& [key, image] : images) {
        image.used = false;
    }
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
    const double margin = 12.0 * pixelsPerPoint;
    const QRectF inside(margin, margin, width - 2 * margin, height - 2 * margin);

    for (const KNLabel& label : labels) {
        QPointF at(label.position.x * pixelsPerPoint, label.position.y * pixelsPerPoint);
        if (label.anchor == KNLabel::Anchor::scene) {
            const std::optional<QPointF> projected = project(label.position);
            if (!projected) {
                continue;
            }
            at = *projected;
            if (label.hideNear) {
                const std::optional<QPointF> near = project(*label.hideNear);
                if (near && QLineF(at, *near).length() < 2.0 * margin) {
                    continue;
                }
            }
            if (label.slideTowards && !inside.contains(at)) {
                const std::optional<QPointF> origin = project(*label.slideTowards);
                if (!origin || !inside.contains(*origin)) {
                    continue;
                }
                at = lastPointInside(*origin, at, inside);
            }
        }
        const double x = at.x();
        const double y = at.y();
        const TextImage& image = imageFor(label, pixelsPerPoint);
        const double w = image.texture->width;
        const double h = image.texture->height;
        // Whole pixels keep the glyphs as sharp as they were rasterised.
        const auto left = static_cast<float>(
            std::round(x - label.horizontalAlignment * w + label.offsetX * pixelsPerPoint));
        const auto bottom = static_cast<float>(
            std::round(y - label.verticalAlignment * h + label.offsetY * pixelsPerPoint));
        if (left > width || bottom > height || left + w < 0 || bottom + h < 0) {
            continue;
        }
        const auto right = static_cast<float>(left + w);
        const auto top = static_cast<float>(bottom + h);
        // Image rows run top-down, so the quad's top takes texture row 0.
        const float quad[24] = {left, bottom, 0, 0, 1, 0, right, bottom, 0, 1, 1, 0,
                                left, top,    0, 0, 0, 0, right, top,    0, 1, 0, 0};
        image.texture->bindToUnit(GL_TEXTURE0);
        drawQuad(*program, quad);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    target.unbind();

    for (auto it = images.begin(); it != images.end();) {
        it = it->second.used ? std::next(it) : images.erase(it);
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
