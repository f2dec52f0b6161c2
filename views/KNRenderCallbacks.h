#pragma once

#include <memory>

class Path;
class Seed;

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
// The pixels per point of the picture about to be drawn (1 until set): point sizes and line
// widths follow it, so a picture for a denser screen or a larger export looks the same. Like the
// point size it sets, it belongs to the one shared context; every view sets it before it draws.
void setDrawingDensity(double pixelsPerPoint);
// Depth test and blending on; lines one point wide.
void prepareLineDraw(kinora::Renderable* renderable);
// As prepareLineDraw, then the path's colour uniforms. The renderable must be a Path.
void preparePathDraw(kinora::Renderable* renderable);
// The path program's colour uniforms for path, on program (made current by the caller):
// "evolution" = its sValue, its colouring by exponent, and "dimming" = pathDimming when it is
// dimmed, else 0.
void setPathColour(const kinora::Shader& program, const Path& path);
// How much darker a dimmed path is drawn: enough to set the soloed one apart, not so much that
// the others' shape is lost.
constexpr float pathDimming = 0.75f;
// Point size seedPointSize(seed); depth test and blending off. The renderable must be a Seed.
void prepareSeedDraw(kinora::Renderable* renderable);
// The size in pixels a seed is drawn at: 20 points while it is selected, else 10.
float seedPointSize(const Seed& seed);
// Point size 10 points; depth test and blending off.
void prepareHandleDraw(kinora::Renderable* renderable);

// One vertex of six zero floats and one index 0: a point at its renderable's origin, and the
// placeholder of meshes that are filled later. Needs a current GL context.
std::unique_ptr<kinora::Mesh> makePointMesh();
