#include "KNScreenFill.h"

#include "Framebuffer.h"
#include "KNRenderCallbacks.h"
#include "Matrix4.h"
#include "Mesh.h"
#include "Renderable.h"
#include "Shader.h"

#include <epoxy/gl.h>

KNScreenFill::KNScreenFill() = default;
KNScreenFill::~KNScreenFill() = default;

void KNScreenFill::draw(kinora::Shader& program, kinora::Framebuffer& target) {
    if (!quad || quad->shader != &program) {
        // Corners of the clip space, each with a zero second triple.
        const float corners[24] = {-1, -1, 0, 0, 0, 0, 1, -1, 0, 0, 0, 0,
                                   -1, 1,  0, 0, 0, 0, 1, 1,  0, 0, 0, 0};
        const unsigned triangles[6] = {0, 1, 2, 2, 1, 3};
        quad.reset();
        mesh = std::make_unique<kinora::Mesh>(corners, triangles, 4, 6, 6);
        quad = std::make_unique<kinora::Renderable>(mesh.get(), &program, GL_TRIANGLES);
        quad->setupAttributes = setupVertexAttributes;
        quad->createVertexArray();
    }
    target.bind();
    glViewport(0, 0, target.getWidth(), target.getHeight());
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    const kinora::Matrix4 identity;
    program.use();
    program.setUniformMatrix4fv("projectionMatrix", 1, false, identity.m);
    program.setUniformMatrix4fv("viewMatrix", 1, false, identity.m);
    quad->draw();
    target.unbind();
}
