#pragma once

#include "KNError.h"

#include <string>

// The desktop's list of recently used files (recently-used.xbel in the user's data folder),
// shared with every other application of the session.
class KNRecentDocuments {
public:
    // applicationName and command (with %u for the file's URI) are stored with each entry so
    // the desktop can reopen the file with this program.
    KNRecentDocuments(std::string applicationName, std::string command);

    // Adds the file, or refreshes its entry, as a JavaScript document opened by this
    // application. A list that exists but cannot be read is left untouched rather than replaced.
    bool noteNewRecentDocument(const std::string& path, KNError* error = nullptr) const;

    // $XDG_DATA_HOME/recently-used.xbel, with ~/.local/share for an unset or relative variable;
    // read anew on each call.
    static std::string listPath();

private:
    std::string applicationName;
    std::string command;
};
