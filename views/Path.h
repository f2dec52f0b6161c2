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
    // The indices the mesh holds; the mesh draws only those up to the time cursor.
    int fullIndexCount = 1;
    // How many steps after the seed the mesh's first vertex lies: 0 when the line starts at the
    // seed, more when a transient hides the path's start.
    int firstStep = 0;
    bool colouredByExponent = false;
    // The exponent's place on the exponent key, from 0 to 1; nothing for a path without one.
    std::optional<float> exponentShade;
    // Drawn darker, while another path is soloed.
    bool dimmed = false;
};
