#pragma once

#include "ShaderError.h"

#include <string>

namespace kinora {

// One linked GL program of a vertex and a fragment shader read from GLSL files. Fragment output
// "fragColor" is colour number 0 (the picture) and "fragID" colour number 1 (the pick image) in
// every program. Setting a uniform the program does not declare is a silent no-op, so callers
// may set every uniform on every program. The setters act on the program last made current:
// call use() first. Every operation but construction needs a current GL context.
class Shader {
public:
    // True once load() has linked the program; only then is program owned.
    bool linked = false;
    unsigned program = 0;

    Shader() = default;
    ~Shader();
    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;

    // Compiles both stages and links them. On failure the object stays unlinked, owns no GL
    // objects and a ShaderError carries "Shader Compile Failed: " + path + "\n    " + log, or
    // "Shader Link Failed: " + vertex path + ", " + fragment path.
    void load(const std::string& vertexPath, const std::string& fragmentPath);

    // The whole file as one string; throws the compile-failure ShaderError with a short reason
    // when the file cannot be opened or read.
    static std::string readFile(const std::string& path);
    // Reads, compiles and checks one stage; the returned shader object belongs to the caller.
    static unsigned compileStage(unsigned type, const std::string& path);

    void use() const;
    int attributeLocation(const char* name) const;
    int uniformLocation(const char* name) const;
    bool hasUniform(const char* name) const;
    bool hasAttribute(const char* name) const;

    // Diagnostics on standard error: one "name, location" line per active uniform or attribute.
    void printActiveUniforms() const;
    void printActiveAttributes() const;

    void setUniform1f(const char* name, float x) const;
    void setUniform2f(const char* name, float x, float y) const;
    void setUniform3f(const char* name, float x, float y, float z) const;
    void setUniform4f(const char* name, float x, float y, float z, float w) const;
    void setUniform1i(const char* name, int x) const;
    void setUniform2i(const char* name, int x, int y) const;
    void setUniform3i(const char* name, int x, int y, int z) const;
    void setUniform4i(const char* name, int x, int y, int z, int w) const;

    void setUniform1fv(const char* name, int count, const float* values) const;
    void setUniform2fv(const char* name, int count, const float* values) const;
    void setUniform3fv(const char* name, int count, const float* values) const;
    void setUniform4fv(const char* name, int count, const float* values) const;
    void setUniform1iv(const char* name, int count, const int* values) const;
    void setUniform2iv(const char* name, int count, const int* values) const;
    void setUniform3iv(const char* name, int count, const int* values) const;
    void setUniform4iv(const char* name, int count, const int* values) const;

    // Matrices in column-major order, as Matrix4 stores them: count 1, transpose false.
    void setUniformMatrix2fv(const char* name, int count, bool transpose,
                             const float* values) const;
    void setUniformMatrix3fv(const char* name, int count, bool transpose,
                             const float* values) const;
    void setUniformMatrix4fv(const char* name, int count, bool transpose,
                             const float* values) const;
    void setUniformMatrix2x3fv(const char* name, int count, bool transpose,
                               const float* values) const;
    void setUniformMatrix3x2fv(const char* name, int count, bool transpose,
                               const float* values) const;
    void setUniformMatrix2x4fv(const char* name, int count, bool transpose,
                               const float* values) const;
    void setUniformMatrix4x2fv(const char* name, int count, bool transpose,
                               const float* values) const;
    void setUniformMatrix3x4fv(const char* name, int count, bool transpose,
                               const float* values) const;
    void setUniformMatrix4x3fv(const char* name, int count, bool transpose,
                               const float* values) const;

private:
    void printActive(unsigned countQuery, bool uniforms) const;
};

} // namespace kinora
