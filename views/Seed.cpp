#include "Seed.h"

#include "KNRenderCallbacks.h"

#include <epoxy/gl.h>

Seed::Seed(kinora::Mesh* mesh, kinora::Shader* program, int pathCount)
    : kinora::Renderable(mesh, program, GL_POINTS), pathIDs(pathCount, 0), pathCount(pathCount) {
    prepareDraw = prepareSeedDraw;
}
