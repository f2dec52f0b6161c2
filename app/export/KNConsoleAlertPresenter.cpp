#include "KNConsoleAlertPresenter.h"

#include "MessageText.h"

#include <string>

void KNConsoleAlertPresenter::presentError(const KNError& error, const std::string& documentName) {
    reported = true;
    // As compilers name a place in a file: "name:line: reason".
    std::string place = kinora::boundedValue(documentName);
    if (error.line) {
        place += (place.empty() ? "line " : ":") + std::to_string(*error.line);
    }
    const std::string reason = kinora::boundedMessage(error.failureReason);
    if (place.empty()) {
        std::fprintf(stream, "kinora: %s\n", reason.c_str());
    } else {
        std::fprintf(stream, "kinora: %s: %s\n", place.c_str(), reason.c_str());
    }
    std::fflush(stream);
}
