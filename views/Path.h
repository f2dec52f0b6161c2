#pragma once

#include "Renderable.h"

// One trajectory of a seed, coloured by its place in the parameter sweep.
class Path : public kinora::Renderable {
public:
    Path(kinora::Mesh* mesh, kinora::Shader* program, unsigned drawMode);

    // 0 with every parameter at its start value, 1 with every parameter at its end value.
    float sValue = 0.0f;
    // The indices the mesh holds; the mesh draws only those up to the time cursor.
    int fullIndexCount = 1;
};
