#pragma once

#include <stdexcept>
#include <string>

namespace kinora {

// A shader file that could not be read or compiled, or a program that would not link.
// The message is complete and meant for the console as it is.
class ShaderError : public std::runtime_error {
public:
    explicit ShaderError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace kinora
