#include "HermiteCubic.h"

#include <cmath>

namespace kinora {

namespace {

// A root of g in [0, 1], where g(0) and g(1) differ in sign: Newton's method kept inside a
// shrinking bracket, bisecting where Newton would leave it.
template <class Function, class Derivative>
double bracketedRoot(Function g, Derivative d, double first, bool rising) {
    double low = 0.0;
    double high = 1.0;
    double u = first;
    for (int i = 0; i < 60; ++i) {
        const double value = g(u);
        if (value == 0.0) {
            return u;
        }
        ((value < 0.0) == rising ? low : high) = u;
        const double slope = d(u);
        double next = slope != 0.0 ? u - value / slope : low - 1.0;
        if (!(next > low && next < high)) {
            next = 0.5 * (low + high);
        }
        if (std::abs(next - u) <= 1e-15) {
            return next;
        }
        u = next;
    }
    return u;
}

} // namespace

double HermiteCubic::value(double u) const {
    const double v = 1.0 - u;
    return g0 * (1.0 + 2.0 * u) * v * v + m0 * u * v * v + g1 * u * u * (3.0 - 2.0 * u) -
           m1 * u * u * v;
}

double HermiteCubic::slope(double u) const {
    const double v = 1.0 - u;
    return 6.0 * u * v * (g1 - g0) + m0 * v * (1.0 - 3.0 * u) + m1 * u * (3.0 * u - 2.0);
}

double HermiteCubic::curvature(double u) const {
    return 6.0 * (1.0 - 2.0 * u) * (g1 - g0) + m0 * (6.0 * u - 4.0) + m1 * (6.0 * u - 2.0);
}

double HermiteCubic::root() const {
    return bracketedRoot([this](double u) { return value(u); },
                         [this](double u) { return slope(u); }, g0 / (g0 - g1), g0 < g1);
}

double HermiteCubic::peak() const {
    return bracketedRoot([this](double u) { return slope(u); },
                         [this](double u) { return curvature(u); }, m0 / (m0 - m1), false);
}

} // namespace kinora
