#include "KNRecentDocuments.h"

#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <glib.h>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace {

// Points XDG_DATA_HOME (and HOME) at a fresh folder for one test and restores both afterwards.
class RecentDocumentsTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    std::string savedDataHome = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    KNRecentDocuments recent{"kinora", "'/opt/kinora/bin/kinora' %u"};

    void SetUp() override {
        setenv("XDG_DATA_HOME", qPrintable(folder.filePath("data")), 1);
        setenv("HOME", qPrintable(folder.filePath("home")), 1);
    }
    void TearDown() override {
        setenv("XDG_DATA_HOME", savedDataHome.c_str(), 1);
        setenv("HOME", savedHome.c_str(), 1);
    }

    std::string script(const std::string& name) {
        const std::string path = folder.filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(path) << "var parameters = [];";
        return path;
    }

    static std::string uriOf(const std::string& path) {
        gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
        std::string result(uri);
        g_free(uri);
        return result;
    }

    static std::string contents(const std::string& path) {
        std::ostringstream text;
        text << std::ifstream(path).rdbuf();
        return text.str();
    }
};

TEST_F(RecentDocumentsTest, NotesTheFileForTheDesktopToReopen) {
    const std::string path = script("lorenz sweep.js");
    EXPECT_EQ(KNRecentDocuments::listPath(),
              folder.filePath("data/recently-used.xbel").toStdString());
    ASSERT_TRUE(recent.noteNewRecentDocument(path));

    GBookmarkFile* list = g_bookmark_file_new();
    ASSERT_TRUE(
        g_bookmark_file_load_from_file(list, KNRecentDocuments::listPath().c_str(), nullptr));
    const std::string uri = uriOf(path);
    EXPECT_EQ(uri.find("lorenz%20sweep.js"), uri.size() - 17);
    ASSERT_TRUE(g_bookmark_file_has_item(list, uri.c_str()));
    gchar* mime = g_bookmark_file_get_mime_type(list, uri.c_str(), nullptr);
    EXPECT_STREQ(mime, "application/javascript");
    g_free(mime);
    gchar* exec = nullptr;
    guint count = 0;
    ASSERT_TRUE(g_bookmark_file_get_application_info(list, uri.c_str(), "kinora", &exec, &count,
                                                     nullptr, nullptr));
    EXPECT_EQ(count, 1u);
    EXPECT_NE(std::string(exec).find("/opt/kinora/bin/kinora"), std::string::npos) << exec;
    g_free(exec);

    // Noting it again refreshes the one entry instead of adding another.
    ASSERT_TRUE(recent.noteNewRecentDocument(path));
    ASSERT_TRUE(
        g_bookmark_file_load_from_file(list, KNRecentDocuments::listPath().c_str(), nullptr));
    EXPECT_EQ(g_bookmark_file_get_size(list), 1);
    ASSERT_TRUE(g_bookmark_file_get_application_info(list, uri.c_str(), "kinora", nullptr, &count,
                                                     nullptr, nullptr));
    EXPECT_EQ(count, 2u);
    g_bookmark_file_free(list);
}

TEST_F(RecentDocumentsTest, KeepsTheEntriesOfOtherApplications) {
    ASSERT_TRUE(recent.noteNewRecentDocument(script("a.js")));
    KNRecentDocuments other("editor", "editor %u");
    ASSERT_TRUE(other.noteNewRecentDocument(script("notes.js")));
    ASSERT_TRUE(recent.noteNewRecentDocument(script("b.js")));

    GBookmarkFile* list = g_bookmark_file_new();
    ASSERT_TRUE(
        g_bookmark_file_load_from_file(list, KNRecentDocuments::listPath().c_str(), nullptr));
    EXPECT_EQ(g_bookmark_file_get_size(list), 3);
    EXPECT_TRUE(g_bookmark_file_has_application(
        list, uriOf(folder.filePath("notes.js").toStdString()).c_str(), "editor", nullptr));
    g_bookmark_file_free(list);
}

TEST_F(RecentDocumentsTest, LeavesAnUnreadableListAlone) {
    const std::string listPath = KNRecentDocuments::listPath();
    ASSERT_TRUE(recent.noteNewRecentDocument(script("first.js")));
    std::ofstream(listPath) << "<xbel version=\"1.0\"><bookmark href=";
    KNError error;
    EXPECT_FALSE(recent.noteNewRecentDocument(script("second.js"), &error));
    EXPECT_EQ(error.failureReason.rfind("Cannot read the recent files \"" + listPath + "\": ", 0),
              0u);
    EXPECT_EQ(contents(listPath), "<xbel version=\"1.0\"><bookmark href=");
}

TEST_F(RecentDocumentsTest, FallsBackToTheHomeFolderForAnUnsetOrRelativeDataHome) {
    const std::string expected =
        folder.filePath("home/.local/share/recently-used.xbel").toStdString();
    setenv("XDG_DATA_HOME", "relative/data", 1);
    EXPECT_EQ(KNRecentDocuments::listPath(), expected);
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(KNRecentDocuments::listPath(), expected);
    ASSERT_TRUE(recent.noteNewRecentDocument(script("c.js")));
    EXPECT_NE(contents(expected).find("c.js"), std::string::npos);
}

} // namespace

namespace {

TEST_F(RecentDocumentsTest, TheRecentFilesAreThisProgramsExistingFilesNewestFirst) {
    const std::string first = script("first.js");
    const std::string session = script("class.kinora");
    const std::string gone = script("gone.js");
    const KNRecentDocuments otherProgram("editor", "editor %u");
    ASSERT_TRUE(recent.noteNewRecentDocument(first));
    ASSERT_TRUE(recent.noteNewRecentDocument(session));
    ASSERT_TRUE(recent.noteNewRecentDocument(gone));
    ASSERT_TRUE(otherProgram.noteNewRecentDocument(script("notes.js")));
    std::remove(gone.c_str());
    EXPECT_EQ(recent.recentFiles(), (std::vector<std::string>{session, first}));

    // Opening it again makes it the newest.
    ASSERT_TRUE(recent.noteNewRecentDocument(first));
    EXPECT_EQ(recent.recentFiles(), (std::vector<std::string>{first, session}));
}

} // namespace
