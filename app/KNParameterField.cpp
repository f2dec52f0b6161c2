#include "KNParameterField.h"

#include <array>
#include <charconv>
#include <cmath>

namespace {

template <typename Number> QString shortestText(Number value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

} // namespace

KNParameterField::KNParameterField(QWidget* parent) : QLineEdit(parent) {
    setText(displayText(_doubleValue));
    connect(this, &QLineEdit::editingFinished, this, &KNParameterField::commitEdit);
}

void KNParameterField::setDoubleValue(double value) {
    _doubleValue = value;
    setText(displayText(value));
    emit doubleValueChanged(value);
}

void KNParameterField::enterDoubleValue(double value) {
    setDoubleValue(value);
    emit valueEntered(this);
}

QString KNParameterField::displayText(double value) {
    const float narrowed = static_cast<float>(value);
    const bool floatHoldsIt = std::isfinite(narrowed) && (narrowed != 0.0f || value == 0.0);
    if (floatHoldsIt || !std::isfinite(value)) {
        return shortestText(narrowed);
    }
    return shortestText(value);
}

void KNParameterField::commitEdit() {
    // Return on an untouched field must not replace the stored double by its float display.
    if (text() == displayText(_doubleValue)) {
        return;
    }
    if (const std::optional<double> value = parser.parse(text())) {
        enterDoubleValue(*value);
    } else {
        setText(displayText(_doubleValue));
    }
}
