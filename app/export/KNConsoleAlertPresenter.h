#pragma once

#include "KNAlertPresenter.h"

#include <cstdio>

// Alerts for a run without windows: each error becomes one line on a stream, and the presenter
// remembers that something went wrong.
class KNConsoleAlertPresenter : public KNAlertPresenter {
public:
    explicit KNConsoleAlertPresenter(std::FILE* stream) : stream(stream) {}

    void presentError(const KNError& error, const std::string& documentName) override;
    bool hasReportedError() const { return reported; }

private:
    std::FILE* stream;
    bool reported = false;
};
