#include "SceneFraming.h"

#include "Matrix3.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kinora {

namespace {

// The largest scale s at which a point q (the eye-space offset from the pivot, before scaling)
// keeps |s * lateral| within limit times its depth D - s * q.z (times D alone when the picture's
// width does not grow with depth); no bound when moving the point outward along the view never
// brings it to the edge.
double lateralBound(double lateral, double depthOffset, double limit, double distance) {
    const double coefficient = std::abs(lateral) + limit * depthOffset;
    return coefficient > 0.0 ? limit * distance / coefficient
                             : std::numeric_limits<double>::infinity();
}

} // namespace

SceneFraming frameBox(const BoundingBox& box, const Matrix4& sceneRotation, const Camera& camera,
                      double margin) {
    if (box.isEmpty()) {
        return {};
    }
    const Vector3 centre = box.centre();
    const double distance = camera.focusDistance();
    const double nearPlane = static_cast<double>(camera.near) * static_cast<double>(camera.zoom);
    const double keep = 1.0 / (1.0 + margin);
    const double horizontal = keep * static_cast<double>(camera.right) / nearPlane;
    const double vertical = keep * static_cast<double>(camera.top) / nearPlane;

    const double widening = camera.kind == Camera::Projection::perspective ? 1.0 : 0.0;
    const Matrix3 toEye(camera.viewMatrix());
    const Matrix3 turn(sceneRotation);
    double scale = std::numeric_limits<double>::infinity();
    for (const Vector3& corner : box.corners()) {
        const Vector3 q = toEye * (turn * (corner - centre));
        scale = std::min(scale, lateralBound(q.x, widening * q.z, horizontal, distance));
        scale = std::min(scale, lateralBound(q.y, widening * q.z, vertical, distance));
        // In front of the near plane and before the far one.
        if (q.z > 0.0) {
            scale = std::min(scale, (distance - nearPlane) / q.z);
        } else if (q.z < 0.0) {
            scale = std::min(scale, (static_cast<double>(camera.far) - distance) / -q.z);
        }
    }
    if (!std::isfinite(scale)) {
        scale = 1.0;
    }
    return {centre, scale};
}

Vector3 panTranslation(double dx, double dy, double viewHeight, const Camera& camera,
                       Vector3 scenePosition) {
    const double depth = -(camera.viewMatrix() * scenePosition).z;
    const double unitsPerPoint = 2.0 * camera.halfHeightAt(depth) / viewHeight;
    const Matrix3 eyeToWorld(camera.transform.rotation);
    return eyeToWorld * Vector3(dx * unitsPerPoint, dy * unitsPerPoint, 0.0);
}

} // namespace kinora
