#pragma once

#include "MessageText.h"

#include <filesystem>
#include <optional>
#include <string>

// A user-facing error: where it comes from, a code and the reason shown to the user. An error
// raised by a script names the line it came from, when known, beside the reason rather than in
// it, so the reason stays the script engine's own text.
struct KNError {
    std::string domain;
    int code = 0;
    std::string failureReason;
    std::optional<int> line = std::nullopt;
};

// The name of the file at path, in quotes, as messages give it (a long one cut short).
inline std::string quotedFileName(const std::string& path) {
    return "\"" + kinora::boundedValue(std::filesystem::path(path).filename().string()) + "\"";
}
