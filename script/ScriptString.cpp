#include "ScriptString.h"

#include <utility>
#include <vector>

namespace kinora {

ScriptString::ScriptString(ScriptString&& other) noexcept
    : _ref(std::exchange(other._ref, nullptr)) {}

ScriptString::~ScriptString() {
    if (_ref) {
        JSStringRelease(_ref);
    }
}

std::string ScriptString::utf8(std::size_t maxBytes) const {
    if (!_ref) {
        return {};
    }
    // Every UTF-16 unit takes at least one UTF-8 byte, so units beyond maxBytes can never
    // survive the cut; dropping them first bounds the buffer for huge strings.
    const std::size_t length = JSStringGetLength(_ref);
    const ScriptString prefix(
        length > maxBytes ? JSStringCreateWithCharacters(JSStringGetCharactersPtr(_ref), maxBytes)
                          : JSStringRetain(_ref));
    std::vector<char> buffer(JSStringGetMaximumUTF8CStringSize(prefix._ref));
    const std::size_t written = JSStringGetUTF8CString(prefix._ref, buffer.data(), buffer.size());
    return utf8Prefix(std::string(buffer.data(), written > 0 ? written - 1 : 0), maxBytes);
}

bool isValidUTF8(std::string_view text) {
    static constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        char32_t code = lead;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
        } else if (lead >= 0x80) {
            return false;
        }
        if (length > text.size() - i) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = code << 6 | (next & 0x3F);
        }
        if (length > 1 &&
            (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))) {
            return false;
        }
        i += length;
    }
    return true;
}

std::string utf8Prefix(std::string text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return text;
    }
    std::size_t cut = maxBytes;
    // A continuation byte just past the cut means the character straddles it: drop all of it.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    text.resize(cut);
    return text;
}

} // namespace kinora
