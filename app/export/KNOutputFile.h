#pragma once

#include <QFileDevice>
#include <memory>
#include <optional>
#include <string>

// Where an export writes. A new or regular file is written beside itself and put in place only
// once complete, so a failed export leaves any earlier file unchanged. An existing pipe, device
// or other file that is not regular is written in place: replacing it would destroy it. "-"
// is standard output.
class KNOutputFile {
public:
    // Whether pipes, devices and standard output may be written: not where the event loop must
    // keep answering, since they block until a reader takes the bytes.
    enum class Streams { allowed, refused };

    // Opened for writing; null, with the reason (no closing period) in problem, when it cannot be.
    static std::unique_ptr<KNOutputFile> open(const std::string& path, Streams streams,
                                              std::string* problem);
    // How messages name the output at path: the file's name in quotes, or standard output.
    static std::string describe(const std::string& path);
    // The descriptor the data written to "-" goes to, taken on the first call: standard output
    // is then pointed at standard error, so that no diagnostic from anywhere in the process
    // lands in the data. Take it before anything may print.
    static int standardOutputForData();
    // Whether output and input name the same existing file, by identity rather than by name.
    static bool isSameFile(const std::string& output, const std::string& input);
    static bool isStandardOutput(const std::string& path);

    int handle() const { return device->handle(); }
    bool write(const char* data, qint64 size);
    std::string errorString() const { return device->errorString().toStdString(); }
    // Puts the output in place (a replaced file) or closes it; why it could not, or nothing.
    std::optional<std::string> commit();
    // Whether an output that is never committed leaves the earlier file as it was.
    bool keepsEarlierFile() const { return replaces; }

private:
    KNOutputFile(std::unique_ptr<QFileDevice> device, bool replaces);

    std::unique_ptr<QFileDevice> device;
    bool replaces;
    qint64 written = 0;
};
