#pragma once

#include <JavaScriptCore/JavaScript.h>

namespace kinora {

// Keeps one script value alive against garbage collection for as long as this object holds it.
// The context must outlive the holder.
class ProtectedScriptValue {
public:
    constexpr ProtectedScriptValue() = default;
    ProtectedScriptValue(JSContextRef context, JSValueRef value);
    ProtectedScriptValue(ProtectedScriptValue&& other) noexcept;
    ProtectedScriptValue& operator=(ProtectedScriptValue&& other) noexcept;
    ProtectedScriptValue(const ProtectedScriptValue&) = delete;
    ProtectedScriptValue& operator=(const ProtectedScriptValue&) = delete;
    ~ProtectedScriptValue() { reset(); }

    JSValueRef get() const { return _value; }
    void reset();

private:
    JSContextRef _context = nullptr;
    JSValueRef _value = nullptr;
};

} // namespace kinora
