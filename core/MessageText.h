#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kinora {

// What a message shows of one value a file or a user chose (a name, a path, typed text), and of
// the whole message: no input can make a message too long to show or to read.
inline constexpr std::size_t maxValueCharacters = 200;
inline constexpr std::size_t maxMessageCharacters = 2000;

// UTF-8 text of at most maxCharacters characters: longer text keeps its first characters and
// ends with "…". The cost depends on maxCharacters, not on the text's length.
std::string cutText(std::string_view text, std::size_t maxCharacters);

inline std::string boundedValue(std::string_view text) {
    return cutText(text, maxValueCharacters);
}
inline std::string boundedMessage(std::string_view text) {
    return cutText(text, maxMessageCharacters);
}

} // namespace kinora
