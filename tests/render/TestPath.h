#pragma once

#include "Renderable.h"

namespace kinora::test {

// A path as the plot view draws one: a line strip coloured by its step of the sweep.
struct TestPath : Renderable {
    float sValue = 0.0f;
    using Renderable::Renderable;
};

// Depth test and blending on, then "evolution" = the path's s-value.
void prepareTestPath(Renderable* renderable);

} // namespace kinora::test
