#include "Seed.h"

#include "KNRenderCallbacks.h"

#include <algorithm>
#include <epoxy/gl.h>

Seed::Seed(kinora::Mesh* mesh, kinora::Shader* program, int pathCount)
    : kinora::Renderable(mesh, program, GL_POINTS), pathIDs(pathCount, 0), pathCount(pathCount) {
    prepareDraw = prepareSeedDraw;
}

bool Seed::hasPath(int index) const {
    return std::find(pathIDs.begin(), pathIDs.end(), index) != pathIDs.end();
}
