#pragma once

#include "KNError.h"

#include <chrono>
#include <string>
#include <utility>

// An export that is done in slices: its work, how far it has come, and how it ended. A regular
// file is replaced only by finish; a job dropped before that leaves any earlier file unchanged
// (see KNOutputFile).
class KNExportJob {
public:
    using Clock = std::chrono::steady_clock;

    struct Outcome {
        enum class Kind {
            written,
            // The job gave up on its own; nothing was written.
            abandoned,
            failed,
        };
        Kind kind = Kind::written;
        // For the status bar when written or abandoned.
        std::string message;
        // Why it failed.
        KNError error;
    };

    virtual ~KNExportJob() = default;

    // Works until about the deadline; true once nothing is left to do.
    virtual bool workUntil(Clock::time_point deadline) = 0;
    // The part done, from 0 to 1.
    virtual double progress() const = 0;
    // Once workUntil has returned true: puts the file in place, or says why not.
    virtual Outcome finish() = 0;
    // The file's name in quotes, as messages give it.
    virtual std::string quotedFileName() const = 0;

    // The whole export at once, where no window waits for it: true once the file is written,
    // else false with the reason in error (when not null).
    bool runToEnd(KNError* error) {
        workUntil(Clock::time_point::max());
        Outcome outcome = finish();
        if (outcome.kind == Outcome::Kind::written) {
            return true;
        }
        if (error) {
            *error = std::move(outcome.error);
        }
        return false;
    }
};
