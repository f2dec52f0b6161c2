#pragma once

#include <JavaScriptCore/JavaScript.h>
#include <cstddef>
#include <string>
#include <string_view>

namespace kinora {

// Owns one script string.
class ScriptString {
public:
    // Text up to its first NUL byte.
    explicit ScriptString(const char* utf8) : _ref(JSStringCreateWithUTF8CString(utf8)) {}
    // Takes over a string the caller owns, as returned by JSValueToStringCopy; may be null.
    static ScriptString adopt(JSStringRef ref) { return ScriptString(ref); }

    ScriptString(ScriptString&& other) noexcept;
    ScriptString& operator=(ScriptString&&) = delete;
    ScriptString(const ScriptString&) = delete;
    ScriptString& operator=(const ScriptString&) = delete;
    ~ScriptString();

    JSStringRef ref() const { return _ref; }

    // The text as UTF-8, cut to at most maxBytes bytes without splitting a character; empty for
    // a null string.
    std::string utf8(std::size_t maxBytes) const;

private:
    explicit ScriptString(JSStringRef ref) : _ref(ref) {}

    JSStringRef _ref;
};

// Whether text is well-formed UTF-8: no stray or missing continuation bytes, no overlong forms,
// no surrogates, nothing beyond U+10FFFF. The script engine turns anything else into nothing.
bool isValidUTF8(std::string_view text);

// The longest prefix of valid UTF-8 text that fits in maxBytes bytes and ends on a character.
std::string utf8Prefix(std::string text, std::size_t maxBytes);

} // namespace kinora
