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
    const float nearPlane = near * zoom;
    projection = Matrix4();
    if (kind == Projection::perspective) {
        projection.setFrustumEntries(left, right, bottom, top, nearPlane, far);
        return *this;
    }
    // The frustum's bounds at the focus distance; depth runs from z = -near to z = -far.
    const auto widen = static_cast<float>(focusDistance() / static_cast<double>(nearPlane));
    projection.setOrthographicEntries(left * widen, right * widen, bottom * widen, top * widen,
                                      -nearPlane, -far);
    return *this;
}

double Camera::focusDistance() const {
    return -(viewMatrix() * Vector3()).z;
}

double Camera::halfHeightAt(double depth) const {
    const double scale = kind == Projection::perspective ? depth : focusDistance();
    return scale * static_cast<double>(top) / (static_cast<double>(near) * zoom);
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
