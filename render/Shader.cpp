#include "Shader.h"

#include <algorithm>
#include <cassert>
#include <epoxy/gl.h>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace kinora {

namespace {

std::string compileFailure(const std::string& path, const std::string& detail) {
    return "Shader Compile Failed: " + path + "\n    " + detail;
}

// Uniforms are looked up by name on every call; an undeclared one is skipped without a GL call.
template <typename UniformFunction, typename... Values>
void setIfDeclared(unsigned program, const char* name, UniformFunction function, Values... values) {
    const GLint location = glGetUniformLocation(program, name);
    if (location != -1) {
        function(location, values...);
    }
}

GLboolean glBoolean(bool value) {
    return value ? GL_TRUE : GL_FALSE;
}

} // namespace

Shader::~Shader() {
    if (linked) {
        glDeleteProgram(program);
    }
}

void Shader::load(const std::string& vertexPath, const std::string& fragmentPath) {
    assert(!linked && "a program is loaded once");
    const GLuint vertexShader = compileStage(GL_VERTEX_SHADER, vertexPath);
    GLuint fragmentShader = 0;
    try {
        fragmentShader = compileStage(GL_FRAGMENT_SHADER, fragmentPath);
    } catch (const ShaderError&) {
        glDeleteShader(vertexShader);
        throw;
    }

    program = glCreateProgram();
    glAttachShader(program, vertexShader);
    glAttachShader(program, fragmentShader);
    glBindFragDataLocation(program, 0, "fragColor");
    glBindFragDataLocation(program, 1, "fragID");
    glLinkProgram(program);
    GLint status = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &status);

    // The shader objects stay attached to a linked program until it is deleted.
    glDeleteShader(vertexShader);
    glDeleteShader(fragmentShader);
    if (status == GL_FALSE) {
        glDeleteProgram(program);
        program = 0;
        throw ShaderError("Shader Link Failed: " + vertexPath + ", " + fragmentPath);
    }
    linked = true;
}

std::string Shader::readFile(const std::string& path) {
    std::ifstream stream(path, std::ios::in | std::ios::binary);
    if (!stream) {
        throw ShaderError(compileFailure(path, "The file cannot be opened."));
    }
    // A directory opens like a file on Linux but has no length to read.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        throw ShaderError(compileFailure(path, "The path is not a regular file."));
    }
    stream.seekg(0, std::ios::end);
    const std::streamoff length = stream.tellg();
    stream.seekg(0, std::ios::beg);
    if (!stream || length < 0) {
        throw ShaderError(compileFailure(path, "The file cannot be read."));
    }
    std::string source(static_cast<std::size_t>(length), '\0');
    stream.read(source.data(), length);
    if (stream.gcount() != length) {
        throw ShaderError(compileFailure(path, "The file cannot be read."));
    }
    return source;
}

unsigned Shader::compileStage(unsigned type, const std::string& path) {
    const GLuint shader = [&] {
        const std::string source = readFile(path);
        const GLuint created = glCreateShader(type);
        const char* text = source.c_str();
        glShaderSource(created, 1, &text, nullptr);
        glCompileShader(created);
        return created;
    }();

    GLint status = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (status != GL_FALSE) {
        return shader;
    }
    GLint logLength = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &logLength);
    std::string log(static_cast<std::size_t>(std::max(logLength, 0)), '\0');
    GLsizei written = 0;
    if (logLength > 0) {
        glGetShaderInfoLog(shader, logLength, &written, log.data());
    }
    log.resize(static_cast<std::size_t>(written));
    glDeleteShader(shader);
    throw ShaderError(compileFailure(path, log));
}

void Shader::use() const {
    glUseProgram(program);
}

int Shader::attributeLocation(const char* name) const {
    return glGetAttribLocation(program, name);
}

int Shader::uniformLocation(const char* name) const {
    return glGetUniformLocation(program, name);
}

bool Shader::hasUniform(const char* name) const {
    return uniformLocation(name) != -1;
}

bool Shader::hasAttribute(const char* name) const {
    return attributeLocation(name) != -1;
}

void Shader::printActiveUniforms() const {
    printActive(GL_ACTIVE_UNIFORMS, true);
}

void Shader::printActiveAttributes() const {
    printActive(GL_ACTIVE_ATTRIBUTES, false);
}

void Shader::printActive(unsigned countQuery, bool uniforms) const {
    GLint count = 0;
    glGetProgramiv(program, countQuery, &count);
    for (GLint i = 0; i < count; ++i) {
        char name[64] = {};
        GLsizei length = 0;
        GLint size = 0;
        GLenum type = 0;
        const auto index = static_cast<GLuint>(i);
        if (uniforms) {
            glGetActiveUniform(program, index, 63, &length, &size, &type, name);
        } else {
            glGetActiveAttrib(program, index, 63, &length, &size, &type, name);
        }
        name[length] = '\0';
        const GLint location =
            uniforms ? glGetUniformLocation(program, name) : glGetAttribLocation(program, name);
        std::cerr << name << ", " << location << std::endl;
    }
}

void Shader::setUniform1f(const char* name, float x) const {
    setIfDeclared(program, name, glUniform1f, x);
}
void Shader::setUniform2f(const char* name, float x, float y) const {
    setIfDeclared(program, name, glUniform2f, x, y);
}
void Shader::setUniform3f(const char* name, float x, float y, float z) const {
    setIfDeclared(program, name, glUniform3f, x, y, z);
}
void Shader::setUniform4f(const char* name, float x, float y, float z, float w) const {
    setIfDeclared(program, name, glUniform4f, x, y, z, w);
}
void Shader::setUniform1i(const char* name, int x) const {
    setIfDeclared(program, name, glUniform1i, x);
}
void Shader::setUniform2i(const char* name, int x, int y) const {
    setIfDeclared(program, name, glUniform2i, x, y);
}
void Shader::setUniform3i(const char* name, int x, int y, int z) const {
    setIfDeclared(program, name, glUniform3i, x, y, z);
}
void Shader::setUniform4i(const char* name, int x, int y, int z, int w) const {
    setIfDeclared(program, name, glUniform4i, x, y, z, w);
}

void Shader::setUniform1fv(const char* name, int count, const float* values) const {
    setIfDeclared(program, name, glUniform1fv, count, values);
}
void Shader::setUniform2fv(const char* name, int count, const float* values) const {
    setIfDeclared(program, name, glUniform2fv, count, values);
}
void Shader::setUniform3fv(const char* name, int count, const float* values) const {
    setIfDeclared(program, name, glUniform3fv, count, values);
}
void Shader::setUniform4fv(const char* name, int count, const float* values) const {
    setIfDeclared(program, name, glUniform4fv, count, values);
}
void Shader::setUniform1iv(const char* name, int count, const int* values) const {
    setIfDeclared(program, name, glUniform1iv, count, values);
}
void Shader::setUniform2iv(const char* name, int count, const int* values) const {
    setIfDeclared(program, name, glUniform2iv, count, values);
}
void Shader::setUniform3iv(const char* name, int count, const int* values) const {
    setIfDeclared(program, name, glUniform3iv, count, values);
}
void Shader::setUniform4iv(const char* name, int count, const int* values) const {
    setIfDeclared(program, name, glUniform4iv, count, values);
}

void Shader::setUniformMatrix2fv(const char* name, int count, bool transpose,
                                 const float* values) const {
    setIfDeclared(program, name, glUniformMatrix2fv, count, glBoolean(transpose), values);
}
void Shader::setUniformMatrix3fv(const char* name, int count, bool transpose,
                                 const float* values) const {
    setIfDeclared(program, name, glUniformMatrix3fv, count, glBoolean(transpose), values);
}
void Shader::setUniformMatrix4fv(const char* name, int count, bool transpose,
                                 const float* values) const {
    setIfDeclared(program, name, glUniformMatrix4fv, count, glBoolean(transpose), values);
}
void Shader::setUniformMatrix2x3fv(const char* name, int count, bool transpose,
                                   const float* values) const {
    setIfDeclared(program, name, glUniformMatrix2x3fv, count, glBoolean(transpose), values);
}
void Shader::setUniformMatrix3x2fv(const char* name, int count, bool transpose,
                                   const float* values) const {
    setIfDeclared(program, name, glUniformMatrix3x2fv, count, glBoolean(transpose), values);
}
void Shader::setUniformMatrix2x4fv(const char* name, int count, bool transpose,
                                   const float* values) const {
    setIfDeclared(program, name, glUniformMatrix2x4fv, count, glBoolean(transpose), values);
}
void Shader::setUniformMatrix4x2fv(const char* name, int count, bool transpose,
                                   const float* values) const {
    setIfDeclared(program, name, glUniformMatrix4x2fv, count, glBoolean(transpose), values);
}
void Shader::setUniformMatrix3x4fv(const char* name, int count, bool transpose,
                                   const float* values) const {
    setIfDeclared(program, name, glUniformMatrix3x4fv, count, glBoolean(transpose), values);
}
void Shader::setUniformMatrix4x3fv(const char* name, int count, bool transpose,
                                   const float* values) const {
    setIfDeclared(program, name, glUniformMatrix4x3fv, count, glBoolean(transpose), values);
}

} // namespace kinora
