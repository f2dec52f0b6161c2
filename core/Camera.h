#pragma once

#include "Matrix4.h"
#include "Transform.h"

namespace kinora {

// The projection and the eye: transform.rotation orients the eye and transform.position places
// it; the transform's scale and pivot play no part.
class Camera {
public:
    enum class Projection { perspective, orthographic };

    Matrix4 projection;
    // The viewing volume. The owner sets it before the first projection update; until then it is
    // a usable perspective volume rather than garbage.
    float left = -1.0f;
    float right = 1.0f;
    float bottom = -1.0f;
    float top = 1.0f;
    float near = 2.0f;
    float far = 60.0f;
    Transform transform;
    // Scales near when the projection is rebuilt.
    float zoom = 1.0f;
    // An orthographic picture shows the plane through the point the eye looks at (the world
    // origin) at the size the perspective one does, so switching keeps that plane in place.
    Projection kind = Projection::perspective;

    // Stores the bounds only; the projection follows at the next updateProjection.
    void setFrustum(float left, float right, float bottom, float top, float near, float far);
    // Stores the bounds and writes the orthographic entries of the projection at once.
    void setOrthographic(float left, float right, float bottom, float top, float near, float far);
    // Rewrites the projection of the current kind from the current bounds and zoom.
    Camera& updateProjection();

    // How far in front of the eye the world origin lies.
    double focusDistance() const;
    // Half the height of the picture, in eye units, at depth in front of the eye: growing with
    // depth in perspective, that of the focus distance at every depth in orthographic.
    double halfHeightAt(double depth) const;

    // World to eye: transpose(rotation) * T(-position).
    Matrix4 viewMatrix() const;
    // Eye to world: T(position) * rotation.
    Matrix4 inverseViewMatrix() const;
};

} // namespace kinora
