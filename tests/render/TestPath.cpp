#include "TestPath.h"

#include "Shader.h"
#include "TestRenderables.h"

namespace kinora::test {

void prepareTestPath(Renderable* renderable) {
    prepareLine(renderable);
    renderable->shader->setUniform1f("evolution", static_cast<TestPath*>(renderable)->sValue);
}

} // namespace kinora::test
