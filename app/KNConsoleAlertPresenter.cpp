#include "KNConsoleAlertPresenter.h"

void KNConsoleAlertPresenter::presentError(const KNError& error, const std::string& documentName) {
    reported = true;
    if (documentName.empty()) {
        std::fprintf(stream, "kinora: %s\n", error.failureReason.c_str());
    } else {
        std::fprintf(stream, "kinora: %s: %s\n", documentName.c_str(), error.failureReason.c_str());
    }
    std::fflush(stream);
}
