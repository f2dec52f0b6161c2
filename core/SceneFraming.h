#pragma once

#include "BoundingBox.h"
#include "Camera.h"
#include "Matrix4.h"
#include "Vector3.h"

namespace kinora {

// Where a view places its scene so that a box fills the picture: the scene turns and scales about
// pivot (the box's centre), and the pivot sits on the point the camera looks at.
struct SceneFraming {
    Vector3 pivot;
    double scale = 1.0;
};

// The framing that keeps every corner of box (and so every point added to it), turned by
// sceneRotation, inside the camera's viewing
// volume, leaving margin (a fraction of the half-width and half-height) free on every side. The
// camera must look along its own -z axis at the origin, with a symmetric frustum. An empty box
// gives the default framing (the origin, scale 1); a box that is a single point is centred at
// scale 1, since there is no extent to fit.
SceneFraming frameBox(const BoundingBox& box, const Matrix4& sceneRotation, const Camera& camera,
                      double margin);

// How far the scene's position moves, in the scene's parent frame, to follow a cursor moved by
// (dx, dy) points, with y up, across a view viewHeight points high: the scene's pivot, placed at
// scenePosition, stays under the cursor.
Vector3 panTranslation(double dx, double dy, double viewHeight, const Camera& camera,
                       Vector3 scenePosition);

} // namespace kinora
