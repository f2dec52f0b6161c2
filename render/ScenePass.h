#pragma once

#include <chrono>
#include <cstddef>

namespace kinora {

// How far a picture drawn over several calls has got: the renderable drawn next and, inside one
// drawn in parts, the element its next part starts at. A default pass has drawn nothing yet;
// assigning a default pass starts again.
struct ScenePass {
    using Clock = std::chrono::steady_clock;

    // A part of this many elements costs a few milliseconds even on a software renderer, so a
    // deadline is overrun by little.
    static constexpr int elementsPerPart = 1 << 15;

    std::size_t renderable = 0;
    int element = 0;
    bool done = false;

    bool isFresh() const { return renderable == 0 && element == 0 && !done; }
    // On to the next renderable, from its first element.
    void advance() {
        ++renderable;
        element = 0;
    }
};

} // namespace kinora
