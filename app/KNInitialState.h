#pragma once

#include "InitialDeclaration.h"

class KNPlotWindowController;

// Starts a freshly loaded plot window as its script declares (or with the defaults: one seed at
// (1, 1, 1)), through the same operations as the user's own edits, so the table, the handles,
// the toolbar and the paths agree from the first frame.
class KNInitialState {
public:
    // The declaration was checked when the script loaded, so every value is accepted.
    static void apply(KNPlotWindowController& controller,
                      const kinora::InitialDeclaration& declaration);
};
