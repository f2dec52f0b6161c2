#pragma once

#include "Vector3.h"

namespace kinora {

// The smallest axis-aligned box around the points added to it. A point with a NaN or infinite
// coordinate is left out, so a path that diverges cannot stretch the box without bound.
class BoundingBox {
public:
    void add(Vector3 point);
    void add(const BoundingBox& other);

    bool isEmpty() const { return empty; }
    // Meaningless while the box is empty.
    Vector3 min() const { return lower; }
    Vector3 max() const { return upper; }
    Vector3 centre() const;

private:
    bool empty = true;
    Vector3 lower;
    Vector3 upper;
};

} // namespace kinora
