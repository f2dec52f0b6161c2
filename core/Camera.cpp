#include "Camera.h"

namespace kinora {

void Camera::setFrustum(float left, float right, float bottom, float top, float near, float far) {
    this->left = left;
    this->right = right;
    this->bottom = bottom;
    this->top = top;
    this->near = near;
    this->far = far;
}

void Camera::setOrthographic(float left, float right, float bottom, float top, float near,
                             float far) {
    setFrustum(left, right, bottom, top, near, far);
    projection.setOrthographicEntries(left, right, bottom, top, near, far);
}

Camera& Camera::updateProjection() {
    projection.setFrustumEntries(left, right, bottom, top, near * zoom, far);
    return *this;
}

Matrix4 Camera::viewMatrix() const {
    const Vector3 eye = transform.position;
    Matrix4 view;
    view.translate(static_cast<float>(-eye.x), static_cast<float>(-eye.y),
                   static_cast<float>(-eye.z));
    Matrix4 inverseRotation = transform.rotation;
    inverseRotation.transpose();
    return inverseRotation * view;
}

Matrix4 Camera::inverseViewMatrix() const {
    const Vector3 eye = transform.position;
    Matrix4 inverseView = transform.rotation;
    inverseView.translate(static_cast<float>(eye.x), static_cast<float>(eye.y),
                          static_cast<float>(eye.z));
    return inverseView;
}

} // namespace kinora
