#pragma once

#include "KNAlertPresenter.h"

// A modal message box with the error's failure reason as its text (wrapped, however long its
// words), the line it came from below it, the document's name as its title and a single OK
// button; blocks until it is dismissed.
class KNModalAlertPresenter : public KNAlertPresenter {
public:
    void presentError(const KNError& error, const std::string& documentName) override;
};
