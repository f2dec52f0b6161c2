#include "KNConsoleAlertPresenter.h"

#include <string>

void KNConsoleAlertPresenter::presentError(const KNError& error, const std::string& documentName) {
    reported = true;
    // As compilers name a place in a file: "name:line: reason".
    std::string place = documentName;
    if (error.line) {
        place += (place.empty() ? "line " : ":") + std::to_string(*error.line);
    }
    if (place.empty()) {
        std::fprintf(stream, "kinora: %s\n", error.failureReason.c_str());
    } else {
        std::fprintf(stream, "kinora: %s: %s\n", place.c_str(), error.failureReason.c_str());
    }
    std::fflush(stream);
}
