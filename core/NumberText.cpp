#include "NumberText.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <system_error>

namespace kinora {

namespace {
// "1e-09" and "1e+300" as people write them: "1e-9", "1e300".
std::string withPlainExponent(std::string text) {
    const std::size_t e = text.find('e');
    if (e == std::string::npos) {
        return text;
    }
    std::string exponent = text.substr(e + 1);
    std::string sign;
    if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) {
        sign = exponent[0] == '-' ? "-" : "";
        exponent.erase(0, 1);
    }
    const std::size_t digits = exponent.find_first_not_of('0');
    exponent.erase(0, digits == std::string::npos ? exponent.size() - 1 : digits);
    return text.substr(0, e + 1) + sign + exponent;
}
} // namespace

std::string shortestNumberText(double value) {
    // Plain decimals up to this length read more easily than an exponent ("0.0001", not
    // "1e-04"); beyond it the exponent is the shorter and clearer form.
    constexpr std::ptrdiff_t longestPlainDecimal = 8;
    std::array<char, 400> buffer{};
    char* const first = buffer.data();
    const auto fixed = std::to_chars(first, first + buffer.size(), value, std::chars_format::fixed);
    if (fixed.ec == std::errc() && fixed.ptr - first <= longestPlainDecimal) {
        return std::string(first, fixed.ptr);
    }
    const auto shortest = std::to_chars(first, first + buffer.size(), value);
    return withPlainExponent(std::string(first, shortest.ptr));
}

std::string roundedNumberText(double value, int digits) {
    std::array<char, 64> buffer{};
    char* const first = buffer.data();
    const auto rounded =
        std::to_chars(first, first + buffer.size(), value, std::chars_format::general, digits);
    return withPlainExponent(std::string(first, rounded.ptr));
}

} // namespace kinora
