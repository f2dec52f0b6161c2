#include "BoundingBox.h"

#include <algorithm>
#include <cmath>

namespace kinora {

namespace {

// The three axes first (so lower and upper begin with the box), then the face and the body
// diagonals, in the order BoundingBox::add writes them out.
constexpr double directions[BoundingBox::directionCount][3] = {
    {1, 0, 0}, {0, 1, 0},  {0, 0, 1}, {1, 1, 0},  {1, -1, 0}, {1, 0, 1},  {1, 0, -1},
    {0, 1, 1}, {0, 1, -1}, {1, 1, 1}, {1, 1, -1}, {1, -1, 1}, {-1, 1, 1},
};

double determinant(const double a[3], const double b[3], const double c[3]) {
    return a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0]) +
           a[2] * (b[0] * c[1] - b[1] * c[0]);
}

} // namespace

void BoundingBox::add(Vector3 point) {
    const double x = point.x;
    const double y = point.y;
    const double z = point.z;
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) {
        return;
    }
    // The products with the directions, written out: this runs for every point of every path.
    const double along[directionCount] = {x,         y,         z,         x + y, x - y,
                                          x + z,     x - z,     y + z,     y - z, x + y + z,
                                          x + y - z, x - y + z, -x + y + z};
    for (std::size_t k = 0; k < directionCount; ++k) {
        lower[k] = std::min(lower[k], along[k]);
        upper[k] = std::max(upper[k], along[k]);
    }
}

void BoundingBox::add(const BoundingBox& other) {
    for (std::size_t k = 0; k < directionCount; ++k) {
        lower[k] = std::min(lower[k], other.lower[k]);
        upper[k] = std::max(upper[k], other.upper[k]);
    }
}

Vector3 BoundingBox::centre() const {
    return {(lower[0] + upper[0]) * 0.5, (lower[1] + upper[1]) * 0.5, (lower[2] + upper[2]) * 0.5};
}

std::vector<Vector3> BoundingBox::corners() const {
    std::vector<Vector3> result;
    if (isEmpty()) {
        return result;
    }
    // Every corner of the hull is where three of its planes meet and no plane cuts it off.
    struct Plane {
        double normal[3];
        double offset;
    };
    std::vector<Plane> planes;
    for (std::size_t k = 0; k < directionCount; ++k) {
        const double* d = directions[k];
        planes.push_back({{d[0], d[1], d[2]}, upper[k]});
        planes.push_back({{-d[0], -d[1], -d[2]}, -lower[k]});
    }
    double size = 1.0;
    for (std::size_t k = 0; k < 3; ++k) {
        size = std::max({size, std::abs(lower[k]), std::abs(upper[k])});
    }
    const double tolerance = 1e-9 * size;
    for (std::size_t i = 0; i < planes.size(); ++i) {
        for (std::size_t j = i + 1; j < planes.size(); ++j) {
            for (std::size_t k = j + 1; k < planes.size(); ++k) {
                const Plane& a = planes[i];
                const Plane& b = planes[j];
                const Plane& c = planes[k];
                const double det = determinant(a.normal, b.normal, c.normal);
                if (std::abs(det) < 1e-12) {
                    continue;
                }
                // Cramer's rule.
                const double x[3] = {a.offset, b.offset, c.offset};
                const double col0[3] = {a.normal[0], b.normal[0], c.normal[0]};
                const double col1[3] = {a.normal[1], b.normal[1], c.normal[1]};
                const double col2[3] = {a.normal[2], b.normal[2], c.normal[2]};
                const double p[3] = {determinant(x, col1, col2) / det,
                                     determinant(col0, x, col2) / det,
                                     determinant(col0, col1, x) / det};
                const bool inside = std::all_of(planes.begin(), planes.end(), [&](const Plane& q) {
                    return q.normal[0] * p[0] + q.normal[1] * p[1] + q.normal[2] * p[2] <=
                           q.offset + tolerance;
                });
                if (inside) {
                    result.emplace_back(p[0], p[1], p[2]);
                }
            }
        }
    }
    return result;
}

} // namespace kinora
