#include "KNScriptFile.h"

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class ScriptFileTest : public ::testing::Test {
protected:
    QTemporaryDir folder;

    std::string write(const std::string& name, const std::string& bytes) {
        const std::string path = folder.filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static KNError failureOf(const std::string& path) {
        KNError error;
        EXPECT_FALSE(readScriptFile(path, &error).has_value());
        EXPECT_EQ(error.domain, "KNJavascriptErrorDomain");
        EXPECT_EQ(error.code, 0);
        return error;
    }
};

TEST_F(ScriptFileTest, ReadsTheWholeFileUnchanged) {
    const std::string text =
        "var parameters = [\"\xCF\x81\", \"\xCF\x83\"];\n// \xE2\x80\x94 end\n";
    const std::string path = write("system.js", text);
    const auto read = readScriptFile(path);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, text);
    EXPECT_EQ(readScriptFile(write("empty.js", "")), std::string());
}

TEST_F(ScriptFileTest, EachFailureNamesTheFileAndItsCause) {
    const std::string missing = folder.filePath("missing.js").toStdString();
    EXPECT_EQ(failureOf(missing).failureReason,
              "Cannot open \"" + missing + "\": there is no such file.");

    const std::string subfolder = folder.filePath("systems.js").toStdString();
    std::filesystem::create_directory(subfolder);
    EXPECT_EQ(failureOf(subfolder).failureReason,
              "Cannot open \"" + subfolder + "\": it is a folder, not a script file.");

    const std::string latin1 = write("latin1.js", "var parameters = [\"\xE9t\xE9\"];");
    EXPECT_EQ(failureOf(latin1).failureReason,
              "Cannot read \"" + latin1 + "\": the file is not valid UTF-8 text.");

    const std::string withNul = write("nul.js", std::string("var a;\0var b;", 13));
    EXPECT_EQ(failureOf(withNul).failureReason,
              "Cannot read \"" + withNul + "\": the file is not valid UTF-8 text.");
}

TEST_F(ScriptFileTest, RefusesWhatCannotBeReadAsAFile) {
    // Character devices never end; reading one whole would hang.
    EXPECT_EQ(failureOf("/dev/zero").failureReason,
              "Cannot open \"/dev/zero\": it is not a regular file.");
    // Opens even for root, but reading from offset 0 fails.
    EXPECT_EQ(
        failureOf("/proc/self/mem").failureReason.rfind("Cannot read \"/proc/self/mem\": ", 0), 0u);

    const std::string large = write("large.js", std::string(maxScriptFileBytes + 1, ' '));
    EXPECT_NE(failureOf(large).failureReason.find("too large"), std::string::npos);
    EXPECT_TRUE(readScriptFile(write("limit.js", std::string(maxScriptFileBytes, ' '))));
}

TEST_F(ScriptFileTest, RefusesAFileWithoutReadPermission) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root reads every file";
    }
    const std::string path = write("secret.js", "var parameters = [];");
    std::filesystem::permissions(path, std::filesystem::perms::none);
    EXPECT_EQ(failureOf(path).failureReason, "Cannot read \"" + path + "\": Permission denied.");
}

} // namespace
