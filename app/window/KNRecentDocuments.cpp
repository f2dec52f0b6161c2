#include "KNRecentDocuments.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <glib.h>
#include <memory>
#include <utility>

namespace {

struct GErrorDeleter {
    void operator()(GError* e) const { g_error_free(e); }
};
struct GBookmarkFileDeleter {
    void operator()(GBookmarkFile* f) const { g_bookmark_file_free(f); }
};
struct GCharDeleter {
    void operator()(gchar* s) const { g_free(s); }
};
using ErrorPtr = std::unique_ptr<GError, GErrorDeleter>;
using BookmarkFilePtr = std::unique_ptr<GBookmarkFile, GBookmarkFileDeleter>;
using CharPtr = std::unique_ptr<gchar, GCharDeleter>;

bool fail(KNError* error, const std::string& reason) {
    if (error) {
        *error = KNError{"KNRecentDocumentsErrorDomain", 0, reason};
    }
    return false;
}

std::string userDataFolder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    // Relative values are invalid for XDG variables and must be ignored.
    if (dataHome && dataHome[0] == '/') {
        return dataHome;
    }
    const char* home = std::getenv("HOME");
    return std::string(home && home[0] ? home : g_get_home_dir()) + "/.local/share";
}

} // namespace

KNRecentDocuments::KNRecentDocuments(std::string applicationName, std::string command)
    : applicationName(std::move(applicationName)), command(std::move(command)) {}

std::string KNRecentDocuments::listPath() {
    return userDataFolder() + "/recently-used.xbel";
}

bool KNRecentDocuments::noteNewRecentDocument(const std::string& path, KNError* error) const {
    std::error_code absoluteError;
    const std::filesystem::path absolute = std::filesystem::absolute(path, absoluteError);
    if (absoluteError) {
        return fail(error, "Cannot add \"" + path +
                               "\" to the recent files: " + absoluteError.message() + ".");
    }

    GError* rawError = nullptr;
    const CharPtr uri(g_filename_to_uri(absolute.lexically_normal().c_str(), nullptr, &rawError));
    ErrorPtr uriError(rawError);
    if (!uri) {
        return fail(error,
                    "Cannot add \"" + path + "\" to the recent files: " + uriError->message + ".");
    }

    const std::string list = listPath();
    const std::string folder = std::filesystem::path(list).parent_path();
    if (g_mkdir_with_parents(folder.c_str(), 0700) != 0) {
        return fail(error, "Cannot create the folder \"" + folder + "\" for the recent files.");
    }

    const BookmarkFilePtr bookmarks(g_bookmark_file_new());
    rawError = nullptr;
    if (!g_bookmark_file_load_from_file(bookmarks.get(), list.c_str(), &rawError)) {
        const ErrorPtr loadError(rawError);
        if (!g_error_matches(loadError.get(), G_FILE_ERROR, G_FILE_ERROR_NOENT)) {
            return fail(error, "Cannot read the recent files \"" + list +
                                   "\": " + loadError->message + ".");
        }
    }

    const bool session = absolute.extension() == ".kinora";
    g_bookmark_file_set_mime_type(bookmarks.get(), uri.get(),
                                  session ? "application/x-kinora-session"
                                          : "application/javascript");
    g_bookmark_file_add_application(bookmarks.get(), uri.get(), applicationName.c_str(),
                                    command.c_str());

    rawError = nullptr;
    if (!g_bookmark_file_to_file(bookmarks.get(), list.c_str(), &rawError)) {
        const ErrorPtr saveError(rawError);
        return fail(error,
                    "Cannot write the recent files \"" + list + "\": " + saveError->message + ".");
    }
    return true;
}

std::vector<std::string> KNRecentDocuments::recentFiles() const {
    const BookmarkFilePtr bookmarks(g_bookmark_file_new());
    GError* rawError = nullptr;
    if (!g_bookmark_file_load_from_file(bookmarks.get(), listPath().c_str(), &rawError)) {
        const ErrorPtr loadError(rawError);
        return {};
    }
    struct Entry {
        std::string path;
        GDateTime* stamp;
    };
    std::vector<Entry> entries;
    gsize count = 0;
    gchar** uris = g_bookmark_file_get_uris(bookmarks.get(), &count);
    for (gsize i = 0; i < count; ++i) {
        GDateTime* stamp = nullptr;
        if (!g_bookmark_file_get_application_info(bookmarks.get(), uris[i], applicationName.c_str(),
                                                  nullptr, nullptr, &stamp, nullptr)) {
            continue;
        }
        const CharPtr path(g_filename_from_uri(uris[i], nullptr, nullptr));
        std::error_code statusError;
        if (path && std::filesystem::is_regular_file(path.get(), statusError)) {
            entries.push_back({path.get(), stamp});
        }
    }
    g_strfreev(uris);
    // Stable, so entries noted within the same second keep the list's order.
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return g_date_time_compare(a.stamp, b.stamp) > 0;
    });
    std::vector<std::string> files;
    for (const Entry& entry : entries) {
        files.push_back(entry.path);
    }
    return files;
}
