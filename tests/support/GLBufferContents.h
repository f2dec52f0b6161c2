#pragma once

#include <cstddef>
#include <epoxy/gl.h>
#include <vector>

// The whole contents of a GL buffer object as values of T, read through the copy-read binding so
// no other binding is disturbed. Needs a current context.
template <typename T> std::vector<T> glBufferContents(unsigned buffer) {
    glBindBuffer(GL_COPY_READ_BUFFER, buffer);
    GLint bytes = 0;
    glGetBufferParameteriv(GL_COPY_READ_BUFFER, GL_BUFFER_SIZE, &bytes);
    std::vector<T> contents(static_cast<std::size_t>(bytes) / sizeof(T));
    glGetBufferSubData(GL_COPY_READ_BUFFER, 0, bytes, contents.data());
    glBindBuffer(GL_COPY_READ_BUFFER, 0);
    return contents;
}
