#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

namespace kinora {

// One path of an exploration: the seed's place in its list and the evolution m.
struct EvolutionRef {
    std::size_t seed;
    std::int32_t evolution;
    bool operator==(const EvolutionRef&) const = default;
};

// Which path the pointer is on and which one is soloed (every other one dimmed), so that every
// view showing paths shows the same. A click on a path solos it; a click on empty space, or
// restore, shows every path again.
class PathFocus {
public:
    const std::optional<EvolutionRef>& hovered() const { return _hovered; }
    const std::optional<EvolutionRef>& soloed() const { return _soloed; }

    // Told after every change, whatever made it; empty for no one.
    void setChangeHandler(std::function<void()> handler) { changed = std::move(handler); }

    // Each returns whether anything changed.
    bool hover(std::optional<EvolutionRef> path);
    bool click(std::optional<EvolutionRef> path);
    bool restore();
    // The seed at index is gone: its paths are let go, the later seeds' move up one place.
    void seedWasRemoved(std::size_t index);
    // Only evolutions below count remain.
    void keepEvolutionsBelow(std::int64_t count);

private:
    // Sets path to value; whether it changed, told to the handler.
    bool set(std::optional<EvolutionRef>& path, std::optional<EvolutionRef> value);

    std::optional<EvolutionRef> _hovered;
    std::optional<EvolutionRef> _soloed;
    std::function<void()> changed;
};

} // namespace kinora
