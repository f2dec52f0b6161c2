#pragma once

#include "Renderable.h"

#include <memory>
#include <optional>

class Seed;

// One trajectory of a seed, coloured by its place in the parameter sweep or by its largest
// Lyapunov exponent.
class Path : public kinora::Renderable {
public:
    Path(kinora::Mesh* mesh, kinora::Shader* program, unsigned drawMode);
    ~Path() override;

    // The seed whose path it is; not owned.
    const Seed* seed = nullptr;
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
    // Made when the path is first filled; until then it has no vertex array and draws its view's
    // shared blank mesh, so a seed costs no GL objects before its paths are computed.
    std::unique_ptr<kinora::Mesh> ownMesh;
    // On the path's own mesh: one point at its head, drawn over the picture while the cursor is
    // not at the end; the path drawn with the id program, for the pick image; and the path drawn
    // over the picture, when highlighted. None while it has no mesh of its own.
    std::unique_ptr<kinora::Renderable> head;
    std::unique_ptr<kinora::Renderable> pick;
    std::unique_ptr<kinora::Renderable> highlight;
    // Drawn darker, while another path is soloed.
    bool dimmed = false;
};
