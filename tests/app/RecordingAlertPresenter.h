#pragma once

#include "KNAlertPresenter.h"

#include <string>
#include <vector>

// Keeps the failure reason and document name of every alert instead of showing it.
class RecordingAlertPresenter : public KNAlertPresenter {
public:
    std::vector<std::string> messages;
    std::vector<std::string> documentNames;

    void presentError(const KNError& error, const std::string& documentName) override {
        messages.push_back(error.failureReason);
        documentNames.push_back(documentName);
    }

    void clear() {
        messages.clear();
        documentNames.clear();
    }
};
