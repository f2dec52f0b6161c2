#pragma once

#include <memory>

namespace kinora {
class Mesh;
class Renderable;
class Shader;
} // namespace kinora

// The views' render callbacks. Every view draws in one GL context, so each renderable sets the
// state it needs before it draws and nothing is restored afterwards.

// Points "vPosition" and "vVelocity" of the renderable's program at the first and second float
// triple of 24-byte vertices.
void setupVertexAttributes(kinora::Renderable* renderable);
// The same for program and the vertex buffer bound now.
void setupVertexAttributesOf(const kinora::Shader& program);
// Depth test and blending on.
void prepareLineDraw(kinora::Renderable* renderable);
// As prepareLineDraw, then "evolution" = the path's sValue. The renderable must be a Path.
void preparePathDraw(kinora::Renderable* renderable);
// Point size 20 for a selected seed, else 10; depth test and blending off. The renderable must
// be a Seed.
void prepareSeedDraw(kinora::Renderable* renderable);
// Point size 10; depth test and blending off.
void prepareHandleDraw(kinora::Renderable* renderable);

// One vertex of six zero floats and one index 0: a point at its renderable's origin, and the
// placeholder of meshes that are filled later. Needs a current GL context.
std::unique_ptr<kinora::Mesh> makePointMesh();
