#pragma once

#include "GLTest.h"
#include "Mesh.h"
#include "Renderable.h"
#include "Scene.h"
#include "Vector3.h"

#include <cstdint>
#include <memory>

namespace kinora::test {

// Points "vPosition" and "vVelocity" at the 24-byte vertices of the bound mesh, skipping an
// attribute the program does not use.
void setupPositionAndSecondTriple(Renderable* renderable);
// How the views draw lines and paths: depth test and blending on.
void prepareLine(Renderable* renderable);
// How the views draw pickable points: 10 pixels, depth test and blending off.
void preparePickablePoint(Renderable* renderable);

// One vertex of six zero floats and index 0: a point at the renderable's origin.
std::unique_ptr<Mesh> makePointMesh();
// One segment from a to b whose vertices carry colour as their second triple.
std::unique_ptr<Mesh> makeSegmentMesh(Vector3 a, Vector3 b, Vector3 colour);

// The views' camera: 10 units up the z axis, frustum (-1, 1, -1, 1, 2, 60). A point (x, y, 0)
// then lands on pixel column (x / 5 + 1) / 2 * width.
void placeCameraLikeTheViews(Scene& scene);

// A scene on a 64 x 64 off-screen target, seen by the views' camera: world x and y of +-2.5 in
// the z = 0 plane land on pixel 16 or 48, the origin on pixel 32.
class SceneOnTargetTest : public GLTest {
protected:
    void SetUp() override;

    // The picture's pixel, red highest.
    std::uint32_t pictureAt(int x, int y);

    std::unique_ptr<OffscreenTarget> target;
    std::unique_ptr<Scene> scene;
};

} // namespace kinora::test
