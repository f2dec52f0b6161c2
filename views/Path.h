#pragma once

#include "Renderable.h"

#include <optional>

// One trajectory of a seed, coloured by its place in the parameter sweep or by its largest
// Lyapunov exponent.
class Path : public kinora::Renderable {
public:
    Path(kinora::Mesh* mesh, kinora::Shader* program, unsigned drawMode);

    // 0 with every parameter at its start value, 1 with every parameter at its end value.
    float sValue = 0.0f;
    bool colouredByExponent = false;
    // The exponent's place on the exponent key, from 0 to 1; nothing for a path without one.
    std::optional<float> exponentShade;
};
