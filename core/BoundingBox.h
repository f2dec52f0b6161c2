#pragma once

#include "Vector3.h"

#include <array>
#include <limits>
#include <vector>

namespace kinora {

// The smallest axis-aligned box around the points added to it, cut down by the tightest slabs
// across the six face diagonals and the four body diagonals: a hull that hugs a curved cloud
// of points much closer than the box alone, so a view framing it wastes less of the picture. A
// point with a NaN or infinite coordinate is left out, so a path that diverges cannot stretch
// the hull without bound.
class BoundingBox {
public:
    void add(Vector3 point);
    void add(const BoundingBox& other);

    bool isEmpty() const { return lower[0] > upper[0]; }
    Vector3 centre() const;
    // The corners of the hull: every point added lies in their convex hull. Empty for an empty
    // box.
    std::vector<Vector3> corners() const;
    // The least and the greatest coordinate along axis 0 (x), 1 (y) or 2 (z); lowest > highest
    // for an empty box.
    double lowest(int axis) const { return lower[static_cast<std::size_t>(axis)]; }
    double highest(int axis) const { return upper[static_cast<std::size_t>(axis)]; }

    static constexpr std::size_t directionCount = 13;

private:
    static constexpr double infinity = std::numeric_limits<double>::infinity();
    // The least and the greatest of direction k . p over the points p, directions as in the .cpp;
    // empty while lower exceeds upper.
    std::array<double, directionCount> lower{infinity, infinity, infinity, infinity, infinity,
                                             infinity, infinity, infinity, infinity, infinity,
                                             infinity, infinity, infinity};
    std::array<double, directionCount> upper{-infinity, -infinity, -infinity, -infinity, -infinity,
                                             -infinity, -infinity, -infinity, -infinity, -infinity,
                                             -infinity, -infinity, -infinity};
};

} // namespace kinora
