#pragma once

#include "Transform.h"

namespace kinora {

class Mesh;
class Renderable;
class Shader;

// A hook of a renderable: declaring its vertex layout, or setting its GL state before a draw.
using RenderableCallback = void (*)(Renderable* renderable);

// One drawable object: a mesh drawn with a program in one primitive mode, placed by its
// transform. It owns its vertex array but neither the mesh nor the program.
class Renderable {
public:
    unsigned vertexArray = 0;
    Mesh* mesh;
    Shader* shader;
    // The glDrawElements mode: GL_POINTS, GL_LINES, GL_LINE_STRIP ...
    unsigned drawMode;
    // For both faces; GL_FILL unless changed.
    unsigned polygonMode;
    Transform transform;
    // 0 skips the renderable altogether: no GL call, no prepareDraw.
    int visible = 1;
    // Runs once inside createVertexArray with the mesh's buffers bound: enables and points the
    // program's attributes.
    RenderableCallback setupAttributes = nullptr;
    // Runs on every draw right after the program is made current; the GL state it sets stays
    // for whatever is drawn next.
    RenderableCallback prepareDraw = nullptr;

    // No GL call: the vertex array is built by createVertexArray.
    Renderable(Mesh* mesh, Shader* shader, unsigned drawMode);
    virtual ~Renderable();
    Renderable(const Renderable&) = delete;
    Renderable& operator=(const Renderable&) = delete;

    // Called once, after the callbacks are set. A refilled mesh keeps its buffer names, so the
    // vertex array stays valid.
    void createVertexArray();
    // Sets "modelMatrix" and "inverseModelMatrix" and draws the whole mesh. The caller has set
    // the view, projection and id uniforms on the same program.
    void draw();
    // Draws like draw(), but only the part of the mesh from element first on that a budget of
    // elements allows, and returns the element the next part starts at: elementCount() once
    // the last part is drawn. Consecutive parts rasterise exactly what the whole mesh does;
    // points, line lists, line strips and triangle lists are cut, other modes are drawn whole.
    int drawPart(int first, int budget);
    int elementCount() const;
    // Whether the mesh has too few indices for one primitive of drawMode: a blank path (one
    // index drawn as a line strip) rasterises nothing, so passes may skip it.
    bool drawsNothing() const;

private:
    void drawElements(int first, int count);
};

} // namespace kinora
