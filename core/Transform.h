#pragma once

#include "Matrix4.h"
#include "Vector3.h"

namespace kinora {

// Where an object sits in its parent frame: it is scaled and rotated about its pivot, and the
// pivot is placed at position. Angles are in degrees.
class Transform {
public:
    // Only ever changed by rotations, so its transpose is its inverse.
    Matrix4 rotation;
    Vector3 scale{1.0, 1.0, 1.0};
    Vector3 position{0.0, 0.0, 0.0};
    Vector3 pivot{0.0, 0.0, 0.0};

    void resetRotation();
    // About an axis of the parent frame.
    void rotate(float angle, Vector3 axis);
    // About an axis of the object's own frame.
    void rotateLocal(float angle, Vector3 axis);
    void translate(float distance, Vector3 direction);
    // Along a direction of the object's own frame.
    void translateLocal(float distance, Vector3 direction);
    void scaleBy(float factor);
    void addToScale(float amount);
    // Turns the object so that its -z axis points at target and its +y axis leans toward up.
    void lookAt(Vector3 target, Vector3 up);

    // T(position) * rotation * S(scale) * T(-pivot)
    Matrix4 modelMatrix() const;
    // T(pivot) * S(1 / scale) * transpose(rotation) * T(-position)
    Matrix4 inverseModelMatrix() const;
};

} // namespace kinora
