#include "KNSliderScale.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int quantumExponentOffset = 3; // a quantum is R / 10^3
static_assert(KNSliderScale::positionsPerReach == 1000);

constexpr int smallestExponent = -12;
constexpr int largestExponent = 300;

// Exact up to 10^22, which covers every quantum between 1e-15 and 1e22.
double powerOfTen(int exponent) {
    double power = 1.0;
    for (int i = 0; i < exponent; ++i) {
        power *= 10.0;
    }
    return power;
}

} // namespace

KNSliderScale::KNSliderScale(int mantissa, int exponent, bool twoSided)
    : mantissa(mantissa), exponent(exponent), twoSided(twoSided) {}

KNSliderScale KNSliderScale::around(double value) {
    if (!std::isfinite(value) || value == 0.0) {
        return KNSliderScale(5, 1, false);
    }
    const bool twoSided = value < 0.0;
    const double target = 1.25 * std::abs(value);
    if (target > 5.0 * std::pow(10.0, largestExponent)) {
        return KNSliderScale(5, largestExponent, twoSided);
    }
    // Start one decade low, so an inexact logarithm never skips the right step.
    int exponent = std::clamp(static_cast<int>(std::floor(std::log10(target))) - 1,
                              smallestExponent, largestExponent);
    constexpr std::array<int, 3> mantissas{1, 2, 5};
    for (;; ++exponent) {
        for (int mantissa : mantissas) {
            if (mantissa * std::pow(10.0, exponent) >= target) {
                return KNSliderScale(mantissa, exponent, twoSided);
            }
        }
    }
}

double KNSliderScale::valueAt(int position) const {
    const double quanta = static_cast<double>(position) * mantissa;
    const int quantumExponent = exponent - quantumExponentOffset;
    // Dividing by an exact power of ten rounds once, to the double nearest the decimal.
    return quantumExponent >= 0 ? quanta * powerOfTen(quantumExponent)
                                : quanta / powerOfTen(-quantumExponent);
}

int KNSliderScale::positionOf(double value) const {
    const double quantum = valueAt(1);
    const double quanta = value / quantum;
    if (!(quanta > minimumPosition())) {
        return minimumPosition();
    }
    if (quanta > maximumPosition()) {
        return maximumPosition();
    }
    return static_cast<int>(std::lround(quanta));
}
