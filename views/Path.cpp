#include "Path.h"

#include "Mesh.h"

Path::Path(kinora::Mesh* mesh, kinora::Shader* program, unsigned drawMode)
    : kinora::Renderable(mesh, program, drawMode) {}

Path::~Path() = default;
