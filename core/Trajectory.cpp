#include "Trajectory.h"

#include "PathDriver.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace kinora {

namespace {

// A positive, finite double's shortest decimal form: digits × 10^exponent.
struct Decimal {
    std::uint64_t digits = 0;
    int exponent = 0;
};

Decimal shortestDecimal(double value) {
    // Scientific without a precision is the shortest form that reads back as value: at most 17
    // digits, "d.ddde±x".
    std::array<char, 40> text{};
    const auto written =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::scientific);
    Decimal decimal;
    const char* c = text.data();
    int fractionDigits = 0;
    bool inFraction = false;
    for (; c < written.ptr && *c != 'e'; ++c) {
        if (*c == '.') {
            inFraction = true;
            continue;
        }
        decimal.digits = decimal.digits * 10 + static_cast<std::uint64_t>(*c - '0');
        fractionDigits += inFraction ? 1 : 0;
    }
    int exponent = 0;
    std::from_chars(c + 1 + (c[1] == '+' ? 1 : 0), written.ptr, exponent);
    decimal.exponent = exponent - fractionDigits;
    return decimal;
}

} // namespace

double wholeStepCount(double pathLength, double step) {
    if (!std::isfinite(step) || step <= 0.0 || !std::isfinite(pathLength)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    if (pathLength <= 0.0) {
        return 0.0;
    }
    const double roughly = std::trunc(pathLength / step);
    // Beyond this the decimal reckoning could overflow and no count is taken anyway.
    constexpr std::uint64_t exactLimit = 100'000'000'000'000'000;
    if (!(roughly < static_cast<double>(exactLimit) / 100)) {
        return roughly;
    }
    const Decimal length = shortestDecimal(pathLength);
    const Decimal each = shortestDecimal(step);
    // floor(length.digits × 10^shift / each.digits), by long division one decimal at a time.
    int shift = length.exponent - each.exponent;
    std::uint64_t divisor = each.digits;
    for (; shift < 0; ++shift) {
        if (divisor > length.digits) {
            return 0.0;
        }
        divisor *= 10;
    }
    std::uint64_t quotient = length.digits / divisor;
    std::uint64_t remainder = length.digits % divisor;
    for (; shift > 0; --shift) {
        if (quotient >= exactLimit) {
            return roughly;
        }
        quotient = quotient * 10 + remainder * 10 / divisor;
        remainder = remainder * 10 % divisor;
    }
    return static_cast<double>(quotient);
}

std::optional<std::int32_t> trajectoryVertexCount(double pathLength, double step) {
    if (!std::isfinite(step) || step <= 0.0 || !std::isfinite(pathLength)) {
        return std::nullopt;
    }
    const double count = wholeStepCount(pathLength, step);
    if (!(count >= 1.0) || count > static_cast<double>(maxTrajectoryVertices)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(count);
}

std::int32_t verticesUpToFraction(double fraction, std::int32_t count) {
    // Exactly all of them at the end, whatever the rounding.
    if (!(fraction < 1.0)) {
        return count;
    }
    return fraction > 0.0 ? static_cast<std::int32_t>(std::floor(fraction * count)) : 0;
}

void setParametersAtSweepFraction(KinoraSystem& system, double s) {
    for (Parameter& parameter : system.parameters) {
        parameter.setValue(parameter.valueAtFraction(s));
    }
}

void Trajectory::integrate(const KinoraSystem& system, Vector3 seed, std::int32_t count) {
    const auto size = static_cast<size_t>(count);
    vertices.resize(size);
    indices.resize(size);
    Vector3 state = seed;
    double t = 0.0;
    for (size_t i = 0; i < size; ++i) {
        state = system.advance(t, state);
        const Vector3 displacement = state - seed;
        vertices[i] = {
            {static_cast<float>(state.x), static_cast<float>(state.y), static_cast<float>(state.z)},
            {static_cast<float>(displacement.x), static_cast<float>(displacement.y),
             static_cast<float>(displacement.z)}};
        indices[i] = static_cast<std::uint32_t>(i);
        t += pathTimeIncrement;
    }
}

} // namespace kinora
