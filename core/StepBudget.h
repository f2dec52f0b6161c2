#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>

namespace kinora {

// How many integration steps one piece of sliced work takes, adapted after every piece so that
// a piece lasts a few milliseconds: the deadline between pieces is then checked often, at
// little cost.
class StepBudget {
public:
    std::int64_t steps() const { return value; }

    void adapt(std::chrono::steady_clock::duration pieceTook) {
        if (pieceTook < std::chrono::milliseconds(2)) {
            value = std::min<std::int64_t>(value * 2, std::int64_t{1} << 22);
        } else if (pieceTook > std::chrono::milliseconds(8)) {
            value = std::max<std::int64_t>(value / 2, 1);
        }
    }

private:
    std::int64_t value = 256;
};

} // namespace kinora
