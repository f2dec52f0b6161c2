#pragma once

#include "KNError.h"

#include <string>

// Shows an error to the user. The windows go through this interface so tests can record alerts
// instead of blocking on them.
class KNAlertPresenter {
public:
    virtual ~KNAlertPresenter() = default;

    // Returns once the user has acknowledged the error. documentName, when not empty, names
    // the file the error is about, so several failures in a row can be told apart.
    virtual void presentError(const KNError& error, const std::string& documentName) = 0;
};
