#pragma once

#include <QByteArray>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

class KNOutputFile;

// The end of writing a file that cannot be cut into slices: making bytes (encoding a picture),
// appending them and waiting until the disk has them all, which can take seconds for a large
// file. It runs on a thread of its own, through its own duplicate of the file's descriptor, so
// the owner may drop it (and delete the unfinished file) at any time without waiting for it.
class KNBackgroundFileWrite {
public:
    using Clock = std::chrono::steady_clock;
    // The bytes to append, or nothing when they cannot be made (the error text then says why).
    using Producer = std::function<std::optional<QByteArray>(std::string* error)>;

    // Starts at once; produce runs on the thread and must own everything it uses.
    KNBackgroundFileWrite(int descriptor, Producer produce);

    // Waits until the work is done or the deadline has passed; true once it is done.
    bool waitUntil(Clock::time_point deadline);
    // Once done: why the bytes could not be made, written or kept, or nothing.
    std::optional<std::string> failure() const;
    // Puts file in place once write has finished well; why it could not, or nothing. A null
    // write stands for one that never started because writing the file had already failed.
    static std::optional<std::string> commit(KNOutputFile& file,
                                             const KNBackgroundFileWrite* write);

private:
    struct State {
        std::mutex mutex;
        std::condition_variable finished;
        bool done = false;
        std::optional<std::string> failure;
    };
    std::shared_ptr<State> state;
};
