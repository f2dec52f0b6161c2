#pragma once

#include "KNError.h"
#include "KNSession.h"

#include <QByteArray>
#include <cstddef>
#include <optional>
#include <string>

// Reads session files strictly: every field must be there with its type, every number finite
// and in range, every array of its size, and nothing else may be present. The first problem
// found is reported with the field it concerns; nothing is read past it. Too large a file, or
// too many parameters or seeds, is refused before the file is parsed.
class KNSessionReader {
public:
    // Room for the largest script, written with escapes, and a thousand parameters and seeds;
    // the window waits while a file is parsed.
    static constexpr std::size_t maxFileBytes = 8 * 1024 * 1024;
    static constexpr std::size_t maxSeeds = 1000;
    static constexpr std::size_t maxParameters = 1000;
    static constexpr int maxWindowSide = 16384;

    static std::optional<KNSession> readFile(const std::string& path, KNError* error = nullptr);
    // The session in bytes (UTF-8 JSON); the error's reason names the field at fault.
    static std::optional<KNSession> parse(const QByteArray& bytes, KNError* error = nullptr);

private:
    static std::string sizeRefusal();
};
