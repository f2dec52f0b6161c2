#include "KNOutputFile.h"

#include "KNError.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr const char* standardOutputName = "-";

} // namespace

KNOutputFile::KNOutputFile(std::unique_ptr<QFileDevice> device, bool replaces)
    : device(std::move(device)), replaces(replaces) {}

std::unique_ptr<KNOutputFile> KNOutputFile::open(const std::string& path, Streams streams,
                                                 std::string* problem) {
    // Unbuffered, so a write that fails is seen before the file is put in place.
    constexpr QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Unbuffered;
    struct stat existing {};
    const bool isStream = path == standardOutputName ||
                          (::stat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode));
    if (!isStream) {
        auto file = std::make_unique<QSaveFile>(QString::fromStdString(path));
        if (!file->open(mode)) {
            *problem = file->errorString().toStdString();
            return nullptr;
        }
        return std::unique_ptr<KNOutputFile>(new KNOutputFile(std::move(file), true));
    }
    if (streams == Streams::refused) {
        *problem = path == standardOutputName
                       ? "standard output cannot be written from a window"
                       : "it is not a regular file (a pipe or a device); the window writes "
                         "regular files only, the command line also writes to pipes and devices";
        return nullptr;
    }
    const bool standardOutput = path == standardOutputName;
    const int descriptor = standardOutput ? standardOutputForData()
                                          : ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        *problem = std::strerror(errno);
        return nullptr;
    }
    auto stream = std::make_unique<QFile>();
    if (!stream->open(descriptor, mode,
                      standardOutput ? QFileDevice::DontCloseHandle
                                     : QFileDevice::AutoCloseHandle)) {
        if (!standardOutput) {
            ::close(descriptor);
        }
        *problem = stream->errorString().toStdString();
        return nullptr;
    }
    return std::unique_ptr<KNOutputFile>(new KNOutputFile(std::move(stream), false));
}

int KNOutputFile::standardOutputForData() {
    static const int descriptor = [] {
        std::fflush(stdout);
        const int own = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
        if (own >= 0) {
            ::dup2(STDERR_FILENO, STDOUT_FILENO);
        }
        return own;
    }();
    return descriptor;
}

std::string KNOutputFile::describe(const std::string& path) {
    return path == standardOutputName ? "standard output" : quotedFileName(path);
}

bool KNOutputFile::isStandardOutput(const std::string& path) {
    return path == standardOutputName;
}

bool KNOutputFile::isSameFile(const std::string& output, const std::string& input) {
    struct stat outputStatus {};
    struct stat inputStatus {};
    return output != standardOutputName && ::stat(output.c_str(), &outputStatus) == 0 &&
           ::stat(input.c_str(), &inputStatus) == 0 && outputStatus.st_dev == inputStatus.st_dev &&
           outputStatus.st_ino == inputStatus.st_ino;
}

bool KNOutputFile::write(const char* data, qint64 size) {
    if (device->write(data, size) != size) {
        return false;
    }
    if (replaces) {
        // Sets the disk to work on these bytes at once, so that little is left to wait for when
        // the file is put in place. Only a hint: that wait reports any failure.
        ::sync_file_range(handle(), written, size, SYNC_FILE_RANGE_WRITE);
    }
    written += size;
    return true;
}

std::optional<std::string> KNOutputFile::commit() {
    if (replaces) {
        auto& file = static_cast<QSaveFile&>(*device);
        if (!file.commit()) {
            return file.errorString().toStdString();
        }
        return std::nullopt;
    }
    if (device->error() != QFileDevice::NoError) {
        return errorString();
    }
    device->close();
    return std::nullopt;
}
