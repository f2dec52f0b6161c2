#include "Transform.h"

#include "Matrix3.h"

#include <algorithm>
#include <cmath>

namespace kinora {

namespace {

constexpr double pi = 3.141592653589793;

// Below this sine of the angle between two unit directions their cross product is rounding
// noise, and its direction means nothing.
constexpr double minimumSine = 1e-6;

// The angle in degrees between two unit directions whose dot product is cosine. Rounding can
// push the dot product of unit vectors just past -1 or 1, where arccos has no value.
float degreesBetween(double cosine) {
    const float c = std::clamp(static_cast<float>(cosine), -1.0f, 1.0f);
    return static_cast<float>(std::acos(static_cast<double>(c)) * 180.0 / pi);
}

// The axis of the shortest turn from the unit direction forward onto the unit direction ahead.
// Opposite directions have no axis of their own and turn half a revolution about perpendicular;
// equal ones turn about no axis, which changes nothing.
Vector3 aimAxis(Vector3 forward, Vector3 ahead, double cosine, Vector3 perpendicular) {
    Vector3 axis = forward.cross(ahead);
    if (axis.length() >= minimumSine) {
        return axis.normalize();
    }
    return cosine < 0.0 ? perpendicular : Vector3();
}

// A normalised vector whose length is not about 1 had no direction to keep.
bool hasDirection(Vector3 normalized) {
    return normalized.length() > 0.5;
}

} // namespace

void Transform::resetRotation() {
    rotation.setIdentity();
}

void Transform::rotate(float angle, Vector3 axis) {
    rotation.rotate(angle, axis);
}

void Transform::rotateLocal(float angle, Vector3 axis) {
    rotate(angle, Matrix3(rotation) * axis);
}

void Transform::translate(float distance, Vector3 direction) {
    position += direction * static_cast<double>(distance);
}

void Transform::translateLocal(float distance, Vector3 direction) {
    position += (Matrix3(rotation) * direction) * static_cast<double>(distance);
}

void Transform::scaleBy(float factor) {
    scale *= static_cast<double>(factor);
}

void Transform::addToScale(float amount) {
    scale += static_cast<double>(amount);
}

// Two turns: the first brings the forward axis onto the target, the second spins about the new
// forward axis until +y leans toward up.
void Transform::lookAt(Vector3 target, Vector3 up) {
    Vector3 toTarget = (target - position).normalize();
    const Vector3 forward = Matrix3(rotation) * -zAxis;
    const double aimCosine = toTarget.dot(forward);
    rotate(degreesBetween(aimCosine),
           aimAxis(forward, toTarget, aimCosine, Matrix3(rotation) * yAxis));

    Vector3 back = Matrix3(rotation) * zAxis;
    const Vector3 upright = (up - back * back.dot(up)).normalize();
    if (!hasDirection(upright)) {
        return; // up lies along the view: there is no side to lean toward
    }
    // Both ups are perpendicular to the view, so the spin is about the view axis; their cross
    // product gives only its sense. Taken as the axis itself, it would carry the rounding of the
    // rotation's columns, which near a half turn swings the view away from the target.
    Vector3 currentUp = Matrix3(rotation) * yAxis;
    const Vector3 spinAxis = back.dot(currentUp.cross(upright)) < 0.0 ? -back : back;
    rotate(degreesBetween(currentUp.dot(upright)), spinAxis);
}

Matrix4 Transform::modelMatrix() const {
    Matrix4 model;
    model.translate(static_cast<float>(-pivot.x), static_cast<float>(-pivot.y),
                    static_cast<float>(-pivot.z));
    model.scale(static_cast<float>(scale.x), static_cast<float>(scale.y),
                static_cast<float>(scale.z));
    model = rotation * model;
    model.translate(static_cast<float>(position.x), static_cast<float>(position.y),
                    static_cast<float>(position.z));
    return model;
}

Matrix4 Transform::inverseModelMatrix() const {
    Matrix4 inverse;
    inverse.translate(static_cast<float>(-position.x), static_cast<float>(-position.y),
                      static_cast<float>(-position.z));
    Matrix4 inverseRotation = rotation;
    inverseRotation.transpose();
    inverse = inverseRotation * inverse;
    // A zero scale has no inverse; its entry becomes infinite.
    inverse.scale(static_cast<float>(1.0 / scale.x), static_cast<float>(1.0 / scale.y),
                  static_cast<float>(1.0 / scale.z));
    inverse.translate(static_cast<float>(pivot.x), static_cast<float>(pivot.y),
                      static_cast<float>(pivot.z));
    return inverse;
}

} // namespace kinora
