#include "BoundingBox.h"

#include <algorithm>
#include <cmath>

namespace kinora {

void BoundingBox::add(Vector3 point) {
    if (!std::isfinite(point.x) || !std::isfinite(point.y) || !std::isfinite(point.z)) {
        return;
    }
    if (empty) {
        lower = upper = point;
        empty = false;
        return;
    }
    lower = {std::min(lower.x, point.x), std::min(lower.y, point.y), std::min(lower.z, point.z)};
    upper = {std::max(upper.x, point.x), std::max(upper.y, point.y), std::max(upper.z, point.z)};
}

void BoundingBox::add(const BoundingBox& other) {
    if (!other.empty) {
        add(other.lower);
        add(other.upper);
    }
}

Vector3 BoundingBox::centre() const {
    return {(lower.x + upper.x) * 0.5, (lower.y + upper.y) * 0.5, (lower.z + upper.z) * 0.5};
}

} // namespace kinora
