#pragma once

#include <cstddef>
#include <cstdint>

namespace kinora {

// Wherever a user reads a seed's number (the status bar, CSV files and tables), seeds count from
// 1, in the order the window lists them; the code indexes them from 0.
constexpr std::int64_t seedNumber(std::size_t index) {
    return static_cast<std::int64_t>(index) + 1;
}

} // namespace kinora
