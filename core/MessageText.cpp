#include "MessageText.h"

namespace kinora {

namespace {

bool startsCharacter(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

} // namespace

std::string cutText(std::string_view text, std::size_t maxCharacters) {
    // The byte where character number `maxCharacters - 1` starts, if the text has more than
    // maxCharacters characters.
    std::size_t characters = 0;
    std::size_t cut = text.size();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!startsCharacter(text[i])) {
            continue;
        }
        if (characters == maxCharacters - 1) {
            cut = i;
        } else if (characters == maxCharacters) {
            return std::string(text.substr(0, cut)) + "\u2026";
        }
        ++characters;
    }
    return std::string(text);
}

} // namespace kinora
