#include "KNBackgroundFileWrite.h"

#include "KNOutputFile.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {

std::optional<std::string> appendAndSync(int descriptor, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, data, static_cast<std::size_t>(left));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return std::string(std::strerror(errno));
        }
        data += written;
        left -= written;
    }
    // Pipes and devices have nothing to wait for.
    struct stat status {};
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) &&
        ::fdatasync(descriptor) != 0) {
        return std::string(std::strerror(errno));
    }
    return std::nullopt;
}

} // namespace

KNBackgroundFileWrite::KNBackgroundFileWrite(int descriptor, Producer produce)
    : state(std::make_shared<State>()) {
    const int own = ::dup(descriptor);
    std::thread([state = state, own, produce = std::move(produce)] {
        std::optional<std::string> failure;
        std::string reason;
        if (own < 0) {
            failure = std::string(std::strerror(errno));
        } else if (const std::optional<QByteArray> bytes = produce(&reason)) {
            failure = appendAndSync(own, *bytes);
        } else {
            failure = reason;
        }
        if (own >= 0) {
            ::close(own);
        }
        const std::lock_guard lock(state->mutex);
        state->failure = std::move(failure);
        state->done = true;
        state->finished.notify_all();
    }).detach();
}

bool KNBackgroundFileWrite::waitUntil(Clock::time_point deadline) {
    std::unique_lock lock(state->mutex);
    const auto done = [this] { return state->done; };
    // The farthest deadline would overflow the clock's conversions: it means no deadline.
    if (deadline == Clock::time_point::max()) {
        state->finished.wait(lock, done);
        return true;
    }
    return state->finished.wait_until(lock, deadline, done);
}

std::optional<std::string> KNBackgroundFileWrite::failure() const {
    const std::lock_guard lock(state->mutex);
    return state->failure;
}

std::optional<std::string> KNBackgroundFileWrite::commit(KNOutputFile& file,
                                                         const KNBackgroundFileWrite* write) {
    if (write == nullptr) {
        return file.errorString();
    }
    if (std::optional<std::string> failure = write->failure()) {
        return failure;
    }
    return file.commit();
}
