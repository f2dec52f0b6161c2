#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>

namespace kinora {

// How many integration steps one piece of sliced work takes. The first piece is a single step,
// since nothing is known yet of what a step costs (a script may take milliseconds a call); each
// piece's measured length then sizes the next, so that pieces last a few milliseconds: the
// deadline between pieces is checked often, at little cost, however slow the system.
class StepBudget {
public:
    using Duration = std::chrono::steady_clock::duration;

    std::int64_t steps() const { return value; }

    void adapt(Duration pieceTook) {
        if (pieceTook > longest) {
            value = std::max<std::int64_t>(scaled(pieceTook), 1);
        } else if (pieceTook < shortest) {
            // At most sixteenfold a piece: a piece measured short by chance does not make the
            // next one long.
            value = std::min(std::clamp(scaled(pieceTook), value * 2, value * 16), largest);
        }
    }

private:
    static constexpr Duration shortest = std::chrono::milliseconds(2);
    static constexpr Duration target = std::chrono::milliseconds(4);
    static constexpr Duration longest = std::chrono::milliseconds(8);
    static constexpr std::int64_t largest = std::int64_t{1} << 22;

    // The steps that would have taken the target at the rate of the piece measured.
    std::int64_t scaled(Duration pieceTook) const {
        const auto took = std::max<Duration::rep>(pieceTook.count(), 1);
        return static_cast<std::int64_t>(static_cast<double>(value) *
                                         static_cast<double>(target.count()) /
                                         static_cast<double>(took));
    }

    std::int64_t value = 1;
};

} // namespace kinora
