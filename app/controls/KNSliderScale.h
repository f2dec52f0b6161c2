#pragma once

// Maps a slider's integer positions onto parameter values. Position p stands for p quanta, a
// quantum being a thousandth of the scale's reach R; R is a round number of the series
// ..., 1, 2, 5, 10, 20, 50, ... so the values a slider gives are round decimals (28.05, not
// 28.0499999). The scale covers [0, R] around a value that is not negative and [-R, R] around a
// negative one: parameters are mostly positive, and a negative one may need to cross zero.
class KNSliderScale {
public:
    static constexpr int positionsPerReach = 1000;

    // The scale for value: R is the smallest round number at least 1.25 |value| (so the value
    // sits below the end, with room to move up), and 50 for 0, NaN or an infinity, which covers
    // the usual ranges of the classic systems (Lorenz: rho 0 to 50). R stays between 1e-12 and
    // 5e300, so values outside that still have a scale, at its nearest end.
    static KNSliderScale around(double value);

    int minimumPosition() const { return twoSided ? -positionsPerReach : 0; }
    int maximumPosition() const { return positionsPerReach; }
    double lowerBound() const { return valueAt(minimumPosition()); }
    double upperBound() const { return valueAt(maximumPosition()); }
    bool contains(double value) const { return lowerBound() <= value && value <= upperBound(); }

    // The value at position, as near as a double gets to the decimal it stands for.
    double valueAt(int position) const;
    // The nearest position to value, clamped to the scale; the minimum for NaN.
    int positionOf(double value) const;

    bool operator==(const KNSliderScale&) const = default;

private:
    KNSliderScale(int mantissa, int exponent, bool twoSided);

    // R = mantissa * 10^exponent, mantissa 1, 2 or 5.
    int mantissa;
    int exponent;
    bool twoSided;
};
