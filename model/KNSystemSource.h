#pragma once

#include <string>

// Where an exploration's system comes from: a built-in system by name, or a script's own text
// with the name of the file it was read from, so that a session needs nothing beside itself.
struct KNSystemSource {
    enum class Kind { builtIn, script };
    Kind kind = Kind::builtIn;
    // A built-in system's name ("lorenz"), or the script file's name ("lorenz.js").
    std::string name;
    // The script's text; empty for a built-in system.
    std::string scriptText;
};
