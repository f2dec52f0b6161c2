#include "Eigenvalues.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kinora {

namespace {

using Complex = std::complex<double>;

// λ³ + a2 λ² + a1 λ + a0.
struct Cubic {
    double a2, a1, a0;

    Complex value(Complex x) const { return ((x + a2) * x + a1) * x + a0; }
    Complex slope(Complex x) const { return (3.0 * x + 2.0 * a2) * x + a1; }

    // A few Newton steps, each kept only while it shrinks the residual: the closed form loses
    // digits to cancellation that these win back.
    Complex polish(Complex x) const {
        for (int i = 0; i < 4; ++i) {
            const Complex d = slope(x);
            if (d == 0.0) {
                break;
            }
            const Complex next = x - value(x) / d;
            if (!(std::abs(value(next)) < std::abs(value(x)))) {
                break;
            }
            x = next;
        }
        return x;
    }
};

Cubic characteristicCubic(const JacobianMatrix& m) {
    const auto& a = m.rows;
    const double trace = a[0][0] + a[1][1] + a[2][2];
    const double minors = (a[0][0] * a[1][1] - a[0][1] * a[1][0]) +
                          (a[0][0] * a[2][2] - a[0][2] * a[2][0]) +
                          (a[1][1] * a[2][2] - a[1][2] * a[2][1]);
    const double determinant = a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
                               a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
                               a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    return {-trace, minors, -determinant};
}

} // namespace

std::array<Complex, 3> eigenvalues(const JacobianMatrix& m) {
    const Cubic cubic = characteristicCubic(m);
    // λ = t − a2/3 turns the cubic into t³ + p t + q.
    const double shift = -cubic.a2 / 3.0;
    const double p = cubic.a1 - cubic.a2 * cubic.a2 / 3.0;
    const double q =
        2.0 * cubic.a2 * cubic.a2 * cubic.a2 / 27.0 - cubic.a2 * cubic.a1 / 3.0 + cubic.a0;
    const double discriminant = q * q / 4.0 + p * p * p / 27.0;
    std::array<Complex, 3> roots;
    if (discriminant <= 0.0 && p < 0.0) {
        // Three real roots, by the trigonometric form.
        const double radius = 2.0 * std::sqrt(-p / 3.0);
        const double cosine = std::clamp(3.0 * q / (p * radius), -1.0, 1.0);
        const double angle = std::acos(cosine) / 3.0;
        for (int k = 0; k < 3; ++k) {
            const double t = radius * std::cos(angle - 2.0 * std::numbers::pi * k / 3.0);
            roots[static_cast<std::size_t>(k)] = cubic.polish(Complex(t + shift)).real();
        }
        std::sort(roots.begin(), roots.end(),
                  [](Complex a, Complex b) { return a.real() < b.real(); });
        return roots;
    }
    // One real root (Cardano, in the form free of cancellation), then the quadratic left after
    // dividing it out.
    const double root = std::sqrt(std::max(discriminant, 0.0));
    const double u = std::cbrt(-q / 2.0 - std::copysign(root, q));
    const double t = u == 0.0 ? 0.0 : u - p / (3.0 * u);
    const double real = cubic.polish(Complex(t + shift)).real();
    const double b = cubic.a2 + real;
    const double c = cubic.a1 + real * b;
    const double quadratic = b * b - 4.0 * c;
    roots[0] = real;
    if (quadratic < 0.0) {
        const Complex upper = cubic.polish(Complex(-b / 2.0, std::sqrt(-quadratic) / 2.0));
        roots[1] = Complex(upper.real(), std::abs(upper.imag()));
        roots[2] = std::conj(roots[1]);
        return roots;
    }
    const double larger = -(b + std::copysign(std::sqrt(quadratic), b)) / 2.0;
    roots[1] = cubic.polish(Complex(larger)).real();
    roots[2] = larger == 0.0 ? 0.0 : cubic.polish(Complex(c / larger)).real();
    std::sort(roots.begin(), roots.end(), [](Complex x, Complex y) { return x.real() < y.real(); });
    return roots;
}

} // namespace kinora
