#pragma once

#include "KNError.h"

#include <string>
#include <vector>

// The desktop's list of recently used files (recently-used.xbel in the user's data folder),
// shared with every other application of the session.
class KNRecentDocuments {
public:
    // applicationName and command (with %u for the file's URI) are stored with each entry so
    // the desktop can reopen the file with this program.
    KNRecentDocuments(std::string applicationName, std::string command);

    // Adds the file, or refreshes its entry, as a document opened by this application (a
    // session for the extension "kinora", else a JavaScript system). A list that exists but cannot
    // be read is left untouched rather than replaced.
    bool noteNewRecentDocument(const std::string& path, KNError* error = nullptr) const;

    // The files of the list that this application opened, newest first, leaving out those that
    // no longer exist; empty when there is no list or it cannot be read.
    std::vector<std::string> recentFiles() const;

    // $XDG_DATA_HOME/recently-used.xbel, with ~/.local/share for an unset or relative variable;
    // read anew on each call.
    static std::string listPath();

private:
    std::string applicationName;
    std::string command;
};
