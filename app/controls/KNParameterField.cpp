#include "KNParameterField.h"

#include <array>
#include <charconv>
#include <cmath>

namespace {

template <typename Number> QString shortestDigits(Number value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

} // namespace

KNParameterField::KNParameterField(QWidget* parent) : KNNumberField(parent) {
    showValue();
}

QString KNParameterField::displayText(double value) {
    const float narrowed = static_cast<float>(value);
    const bool floatHoldsIt = std::isfinite(narrowed) && (narrowed != 0.0f || value == 0.0);
    if (floatHoldsIt || !std::isfinite(value)) {
        return shortestDigits(narrowed);
    }
    return shortestDigits(value);
}
