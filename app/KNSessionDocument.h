#pragma once

#include "KNAlertPresenter.h"
#include "KNError.h"
#include "KNSession.h"

#include <memory>
#include <optional>
#include <string>

class KNPlotWindowController;

namespace kinora {
class Exploration;
}

// Turns a plot window into a session and a session back into an exploration or a plot window.
class KNSessionDocument {
public:
    // Everything the window shows, or nothing (with the reason) for a system that has no source
    // to save.
    static std::optional<KNSession> capture(KNPlotWindowController& controller,
                                            KNError* error = nullptr);

    // An exploration started as session says, or null once one alert titled documentName has
    // named the problem: its script fails, its parameters are not the system's, its step and
    // duration give paths a window refuses.
    static std::unique_ptr<kinora::Exploration>
    open(const KNSession& session, const std::string& documentName, KNAlertPresenter& alerts);

    // A controller whose loaded (not yet shown) window reproduces session. A session that
    // cannot be restored - its script fails, its parameters are not the system's, its step and
    // duration give paths the window refuses - shows one alert naming the problem, titled
    // documentName, and yields null.
    static std::shared_ptr<KNPlotWindowController>
    restore(const KNSession& session, const std::string& documentName,
            std::shared_ptr<KNAlertPresenter> alerts);
};
