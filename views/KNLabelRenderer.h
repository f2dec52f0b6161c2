#pragma once

#include "KNLabel.h"

#include <QRectF>
#include <QSizeF>
#include <QString>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

class Texture2D;

namespace kinora {
class Framebuffer;
class Scene;
class Shader;
} // namespace kinora

// Draws labels and a colour bar over a picture that is already drawn. Each text is rasterised
// once (at the target's pixel density) into a texture that is kept while the text is shown and
// for some draws after.
// Needs the shared GL context current; owns its program, textures and quad buffers.
class KNLabelRenderer {
public:
    KNLabelRenderer();
    ~KNLabelRenderer();
    KNLabelRenderer(const KNLabelRenderer&) = delete;
    KNLabelRenderer& operator=(const KNLabelRenderer&) = delete;

    // The box a label of this text takes on a picture of one pixel per point, outline included.
    static QSizeF textSize(const QString& text);
    // Longer texts show their first characters and "…": what it costs to draw a label must not
    // grow with the length of a name a script chose.
    static constexpr qsizetype maxShownCharacters = 80;
    // The part of text a label shows.
    static QString shownText(const QString& text);

    // Loads the label program; a failure is printed and the labels are then left out.
    void load(const std::string& vertexPath, const std::string& fragmentPath);

    // Draws labels into colour attachment 0 of target, scene anchors projected with the scene's
    // camera and transform, each placed as KNLabel describes. pixelsPerPoint is the device pixel
    // ratio of the target.
    void draw(const std::vector<KNLabel>& labels, kinora::Scene& scene, kinora::Framebuffer& target,
              double pixelsPerPoint);
    // A horizontal bar in the view's points (origin lower left) shaded with rampProgram, which
    // colours by its "vVelocity" x from 0 at the left to 1 at the right.
    void drawColourBar(kinora::Shader& rampProgram, QRectF bar, kinora::Framebuffer& target,
                       double pixelsPerPoint);

private:
    struct TextImage {
        std::unique_ptr<Texture2D> texture;
        std::uint64_t lastDraw = 0;
    };
    TextImage& imageFor(const KNLabel& label, double pixelsPerPoint);
    // One quad of four vertices (x, y, z, then a second triple) in the given program's layout.
    void drawQuad(const kinora::Shader& program, const float (&vertices)[24]);

    std::unique_ptr<kinora::Shader> program;
    std::map<std::tuple<QString, unsigned, double>, TextImage> images;
    std::uint64_t drawCount = 0;
    unsigned vertexArray = 0;
    unsigned vertexBuffer = 0;
};
