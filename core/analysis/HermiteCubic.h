#pragma once

namespace kinora {

// The cubic on u in [0, 1] with values g0, g1 and slopes m0, m1 (per unit of u) at its ends:
// the interpolant of a quantity across one integration step, from the states and derivatives
// at both ends, accurate to the fourth power of the step like the step itself.
struct HermiteCubic {
    double g0, g1, m0, m1;

    double value(double u) const;
    double slope(double u) const;
    double curvature(double u) const;

    // A root in [0, 1] where g0 and g1 differ in sign (or g1 is zero).
    double root() const;
    // Where the cubic peaks in [0, 1], its slope falling from m0 > 0 to m1 <= 0.
    double peak() const;
};

} // namespace kinora
