#pragma once

#include "AnalysisPanelSettings.h"
#include "Exploration.h"
#include "KNSession.h"

#include <memory>
#include <optional>
#include <string>

// A script or a session as read: its exploration, started and ready to compute, with what a
// window needs besides.
struct KNOpenedDocument {
    std::unique_ptr<kinora::Exploration> exploration;
    // The window's title: the script file's name; empty for a built-in system.
    std::string title;
    // A session's window size and cameras; nothing for a script.
    std::optional<KNSession> session;
    // The file it was read from, which no export of it may replace; nothing for a script given
    // as text.
    std::optional<std::string> path;
    // The analysis its window starts with: a session's, or the section plane a script declares.
    kinora::AnalysisPanelSettings analysis;
};
