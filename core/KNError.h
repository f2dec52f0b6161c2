#pragma once

#include <string>

// A user-facing error: where it comes from, a code and the reason shown to the user.
struct KNError {
    std::string domain;
    int code = 0;
    std::string failureReason;
};
