#pragma once

#include "Camera.h"
#include "Transform.h"

// What a view's user has turned, zoomed and framed: the scene's transform, the eye and the
// camera's zoom and projection, together with the view's size in points (the frustum follows
// from it).
struct KNViewCamera {
    // The scene scale never leaves this range, so dragging never divides by zero.
    static constexpr double minimumSceneScale = 1e-3;
    static constexpr double maximumSceneScale = 1e3;

    kinora::Transform sceneTransform;
    kinora::Transform eye;
    float zoom = 1.0f;
    kinora::Camera::Projection projection = kinora::Camera::Projection::perspective;
    int width = 0;
    int height = 0;
};
