#include "KNScriptFile.h"

#include "MessageText.h"

#include <QFile>
#include <filesystem>
#include <glib.h>
#include <system_error>

namespace {

std::optional<std::string> fail(KNError* error, const std::string& reason) {
    if (error) {
        *error = KNError{"KNJavascriptErrorDomain", 0, reason};
    }
    return std::nullopt;
}

std::string quoted(const std::string& path) {
    return "\"" + kinora::boundedValue(path) + "\"";
}

} // namespace

std::optional<std::string> readScriptFile(const std::string& path, KNError* error) {
    std::error_code statusError;
    const auto status = std::filesystem::status(path, statusError);
    if (status.type() == std::filesystem::file_type::not_found) {
        return fail(error, "Cannot open " + quoted(path) + ": there is no such file.");
    }
    if (status.type() == std::filesystem::file_type::directory) {
        return fail(error, "Cannot open " + quoted(path) + ": it is a folder, not a script file.");
    }
    if (statusError) {
        return fail(error, "Cannot open " + quoted(path) + ": " + statusError.message() + ".");
    }
    if (status.type() != std::filesystem::file_type::regular) {
        return fail(error, "Cannot open " + quoted(path) + ": it is not a regular file.");
    }

    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return fail(error,
                    "Cannot read " + quoted(path) + ": " + file.errorString().toStdString() + ".");
    }
    // Read up to one byte past the limit: the reported size of some files is not their length.
    const QByteArray bytes = file.read(static_cast<qint64>(maxScriptFileBytes) + 1);
    if (file.error() != QFileDevice::NoError) {
        return fail(error,
                    "Cannot read " + quoted(path) + ": " + file.errorString().toStdString() + ".");
    }
    if (static_cast<std::size_t>(bytes.size()) > maxScriptFileBytes) {
        return fail(error, "Cannot read " + quoted(path) + ": the file is larger than " +
                               std::to_string(maxScriptFileBytes / (1024 * 1024)) +
                               " MB, too large for a system script.");
    }

    // A NUL byte counts as invalid too: no text file holds one, and the script would end there.
    if (!g_utf8_validate_len(bytes.constData(), static_cast<gsize>(bytes.size()), nullptr)) {
        return fail(error, "Cannot read " + quoted(path) + ": the file is not valid UTF-8 text.");
    }
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
