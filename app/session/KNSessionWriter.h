#pragma once

#include "KNError.h"
#include "KNSession.h"

#include <QByteArray>
#include <string>

// Writes sessions as UTF-8 JSON. Numbers are written in the shortest form that reads back to
// the same double, so a saved window reopens with bit-identical trajectories.
class KNSessionWriter {
public:
    static QByteArray json(const KNSession& session);

    // Writes to a temporary file beside path and renames it over path only once it is complete,
    // so a failed or interrupted save leaves any earlier file as it was. A session that would
    // not read back (a non-finite number, say) is refused and nothing is written.
    static bool writeFile(const std::string& path, const KNSession& session,
                          KNError* error = nullptr);
};
