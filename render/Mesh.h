#pragma once

namespace kinora {

// A vertex buffer of floats and an index buffer of 32-bit indices, refilled whole whenever the
// geometry changes. The vertex layout belongs to whoever draws the mesh. Needs a current GL
// context throughout.
class Mesh {
public:
    // The count handed to glDrawElements.
    int indexCount = 0;
    unsigned vertexBuffer = 0;
    unsigned indexBuffer = 0;

    // vertices holds vertexCount tuples of componentsPerVertex floats; indices holds indexCount
    // entries. Both are copied; the caller may free them at once.
    Mesh(const float* vertices, const unsigned* indices, int vertexCount, int indexCount,
         int componentsPerVertex);
    ~Mesh();
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    // Replaces the content of both buffers; either count may grow or shrink. Leaves 0 bound to
    // both buffer targets, which also clears the element buffer of a bound vertex array.
    void setData(const float* vertices, const unsigned* indices, int vertexCount, int indexCount,
                 int componentsPerVertex);
    void bind() const;
    void unbind() const;
    int getIndexCount() const { return indexCount; }
};

} // namespace kinora
