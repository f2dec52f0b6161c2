#include "KNJsonOutline.h"

#include <utility>
#include <vector>

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

KNJsonOutline::KNJsonOutline(const QByteArray& text) {
    const char* at = text.constData();
    const char* const end = at + text.size();
    // The open containers, innermost last: true for an array.
    std::vector<bool> open;
    std::string key;
    // Whether the next string at the top level is a key; and the count of the top-level array
    // open now, of the values that began in it, with whether one may begin next.
    bool expectingKey = false;
    std::size_t* entries = nullptr;
    bool entryPending = false;
    while (at < end) {
        const char c = *at;
        if (isSpace(c)) {
            ++at;
            continue;
        }
        if (entries && open.size() == 2 && entryPending && c != ']') {
            ++*entries;
            entryPending = false;
        }
        if (c == '"') {
            const char* const begin = ++at;
            while (at < end && *at != '"') {
                at += *at == '\\' ? 2 : 1;
            }
            if (at >= end) {
                break;
            }
            ++at;
            if (open.size() == 1 && std::exchange(expectingKey, false)) {
                key.assign(begin, static_cast<std::size_t>(at - 1 - begin));
            } else if (open.size() == 1) {
                scalars[key].assign(begin - 1, static_cast<std::size_t>(at - begin + 1));
            }
            continue;
        }
        if (open.size() == 1 && c != ',' && c != ':' && c != '{' && c != '[' && c != '}') {
            const char* const begin = at;
            while (at < end && *at != ',' && *at != '}' && !isSpace(*at)) {
                ++at;
            }
            scalars[key].assign(begin, static_cast<std::size_t>(at - begin));
            continue;
        }
        ++at;
        if (c == '{' || c == '[') {
            open.push_back(c == '[');
            expectingKey = open.size() == 1;
            if (open.size() == 2 && c == '[') {
                entries = &arraySizes[key];
                *entries = 0;
                entryPending = true;
            }
        } else if (c == '}' || c == ']') {
            if (open.empty()) {
                break;
            }
            open.pop_back();
            if (open.size() < 2) {
                entries = nullptr;
            }
        } else if (c == ',') {
            expectingKey = open.size() == 1;
            entryPending = open.size() == 2;
        }
    }
}

std::optional<std::size_t> KNJsonOutline::arraySize(const std::string& key) const {
    const auto found = arraySizes.find(key);
    return found == arraySizes.end() ? std::nullopt : std::optional<std::size_t>(found->second);
}

std::optional<std::string> KNJsonOutline::scalar(const std::string& key) const {
    const auto found = scalars.find(key);
    return found == scalars.end() ? std::nullopt : std::optional<std::string>(found->second);
}
