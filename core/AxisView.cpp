#include "AxisView.h"

namespace kinora {

Matrix4 sceneRotationLookingAlong(ViewAxis axis, const Matrix4& eyeRotation) {
    // Row by row: each row names the world axis that shows as the eye's x (right), y (up) and
    // z (toward the viewer).
    Matrix4 turn;
    switch (axis) {
    case ViewAxis::x:
        turn = Matrix4(0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 1);
        break;
    case ViewAxis::y:
        turn = Matrix4(1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1);
        break;
    case ViewAxis::z:
        break;
    }
    // The view matrix undoes the eye's own rotation first.
    return eyeRotation * turn;
}

} // namespace kinora
