#include "ProtectedScriptValue.h"

#include <utility>

namespace kinora {

ProtectedScriptValue::ProtectedScriptValue(JSContextRef context, JSValueRef value)
    : _context(context), _value(value) {
    if (_value) {
        JSValueProtect(_context, _value);
    }
}

ProtectedScriptValue::ProtectedScriptValue(ProtectedScriptValue&& other) noexcept
    : _context(std::exchange(other._context, nullptr)),
      _value(std::exchange(other._value, nullptr)) {}

ProtectedScriptValue& ProtectedScriptValue::operator=(ProtectedScriptValue&& other) noexcept {
    if (this != &other) {
        reset();
        _context = std::exchange(other._context, nullptr);
        _value = std::exchange(other._value, nullptr);
    }
    return *this;
}

void ProtectedScriptValue::reset() {
    if (_value) {
        JSValueUnprotect(_context, _value);
    }
    _context = nullptr;
    _value = nullptr;
}

} // namespace kinora
