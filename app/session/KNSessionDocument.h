#pragma once

#include "Exploration.h"
#include "KNAlertPresenter.h"
#include "KNError.h"
#include "KNSession.h"

#include <memory>
#include <optional>
#include <string>

// Turns an exploration into a session and a session back into an exploration. A session's
// window size and cameras are the window's to give and to take.
class KNSessionDocument {
public:
    // Everything the exploration holds, the window's size and cameras left at their defaults,
    // or nothing (with the reason) for a system that has no source to save.
    static std::optional<KNSession> capture(const kinora::Exploration& exploration,
                                            KNError* error = nullptr);

    // An exploration started as session says, or null once one alert titled documentName has
    // named the problem: its script fails, its parameters are not the system's, its step and
    // duration give paths a window refuses.
    static std::unique_ptr<kinora::Exploration>
    open(const KNSession& session, const std::string& documentName, KNAlertPresenter& alerts);
};
