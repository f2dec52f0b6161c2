#pragma once

#include "Matrix4.h"

namespace kinora {

// The world axes a view can look along.
enum class ViewAxis { x, y, z };

// The scene rotation under which an eye turned by eyeRotation looks along axis, with a right-
// handed picture: along -x with y to the right and z up, along +y with x to the right and z up,
// along -z with x to the right and y up.
Matrix4 sceneRotationLookingAlong(ViewAxis axis, const Matrix4& eyeRotation);

} // namespace kinora
