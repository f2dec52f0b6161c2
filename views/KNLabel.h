#pragma once

#include "Vector3.h"

#include <QColor>
#include <QString>

// A line of text drawn over a view's picture, always legible: light text with a dark outline,
// never hidden by the scene and never picked.
struct KNLabel {
    enum class Anchor {
        // position is a point of the scene, in the coordinates its renderables use.
        scene,
        // position is a point of the view in points, origin at the lower left.
        view,
    };

    QString text;
    Anchor anchor = Anchor::scene;
    kinora::Vector3 position;
    QColor colour = QColor(235, 235, 235);
    // Which point of the text's box sits at the anchor: 0 left (bottom), 0.5 centre, 1 right
    // (top); the box then moves by offset points.
    double horizontalAlignment = 0.0;
    double verticalAlignment = 0.0;
    double offsetX = 0.0;
    double offsetY = 0.0;
    // Labels are placed in order, each inside the picture and clear of those placed before it:
    // a label that would leave the picture is moved back in, one that would cover another is
    // moved up or down past it. A crowdable label (an axis tick) is left out instead.
    bool crowdable = false;
};
