#pragma once

#include "KNError.h"

#include <cstddef>
#include <optional>
#include <string>

// System scripts are small (a few kilobytes); a larger file is almost certainly chosen by
// mistake, and the engine reads a script whole while the window waits, some tenths of a second a
// megabyte, before its top-level code may run for its own time limit.
constexpr std::size_t maxScriptFileBytes = 1024 * 1024;

// The whole file as UTF-8 text, or nothing with an error naming the file when it is missing, a
// folder or other non-regular file, unreadable, too large or not valid UTF-8 (a NUL byte included).
std::optional<std::string> readScriptFile(const std::string& path, KNError* error = nullptr);
