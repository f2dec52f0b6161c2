#include "PathFocus.h"

namespace kinora {

namespace {

std::optional<EvolutionRef> withoutSeed(std::optional<EvolutionRef> path, std::size_t index) {
    if (!path || path->seed < index) {
        return path;
    }
    if (path->seed == index) {
        return std::nullopt;
    }
    --path->seed;
    return path;
}

std::optional<EvolutionRef> below(std::optional<EvolutionRef> path, std::int64_t count) {
    return path && path->evolution >= count ? std::nullopt : path;
}

} // namespace

bool PathFocus::set(std::optional<EvolutionRef>& path, std::optional<EvolutionRef> value) {
    if (path == value) {
        return false;
    }
    path = value;
    if (changed) {
        changed();
    }
    return true;
}

bool PathFocus::hover(std::optional<EvolutionRef> path) {
    return set(_hovered, path);
}

bool PathFocus::click(std::optional<EvolutionRef> path) {
    return set(_soloed, path);
}

bool PathFocus::restore() {
    return set(_soloed, std::nullopt);
}

void PathFocus::seedWasRemoved(std::size_t index) {
    set(_hovered, withoutSeed(_hovered, index));
    set(_soloed, withoutSeed(_soloed, index));
}

void PathFocus::keepEvolutionsBelow(std::int64_t count) {
    set(_hovered, below(_hovered, count));
    set(_soloed, below(_soloed, count));
}

} // namespace kinora
