#include "EngineTestSupport.h"
#include "ScriptContext.h"
#include "ScriptString.h"

#include <optional>

namespace {

// The message the script engine itself gives when it evaluates source.
std::string engineMessageFor(const char* source) {
    const kinora::ScriptContext owner;
    const JSGlobalContextRef context = owner.ref();
    const JSStringRef script = JSStringCreateWithUTF8CString(source);
    JSValueRef exception = nullptr;
    JSEvaluateScript(context, script, nullptr, nullptr, 0, &exception);
    const JSStringRef name = JSStringCreateWithUTF8CString("message");
    const JSValueRef message =
        JSObjectGetProperty(context, JSValueToObject(context, exception, nullptr), name, nullptr);
    const auto text = kinora::ScriptString::adopt(JSValueToStringCopy(context, message, nullptr));
    std::string result = text.utf8(4096);
    JSStringRelease(name);
    JSStringRelease(script);
    return result;
}

TEST(ScriptLoading, MissingOrWrongGlobalsAreReportedWithEvolutionCheckedFirst) {
    EXPECT_EQ(loadFailure(""), "Function 'evolution' is undefined.");
    EXPECT_EQ(loadFailure("var parameters = []; var evolution = null;"),
              "Function 'evolution' is undefined.");
    EXPECT_EQ(loadFailure("var parameters = []; var evolution = 3;"),
              "'evolution' is not a function");
    EXPECT_EQ(loadFailure("var parameters = []; var evolution = {};"),
              "'evolution' is not a function");
    EXPECT_EQ(loadFailure("function evolution() {}"), "'parameters' array is undefined");
    EXPECT_EQ(loadFailure("function evolution() {} var parameters = null;"),
              "'parameters' array is undefined");
    // Both missing or wrong: the evolution message wins.
    EXPECT_EQ(loadFailure("var evolution = 3;"), "'evolution' is not a function");
}

TEST(ScriptLoading, ScriptErrorsCarryTheEnginesOwnMessage) {
    EXPECT_EQ(loadFailure("function evolution( {"), engineMessageFor("function evolution( {"));
    EXPECT_EQ(loadFailure("throw new Error('no system here');"), "no system here");
    EXPECT_EQ(loadFailure("undefinedFunction();"), "Can't find variable: undefinedFunction");
    EXPECT_EQ(loadFailure("throw 'plain text';"), "plain text");
    EXPECT_EQ(loadFailure("var parameters = []; "
                          "Object.defineProperty(this, 'evolution', {get() { throw new "
                          "Error('getter'); }});"),
              "getter");
    // Without an error slot a failure is silent but still a failure.
    EXPECT_FALSE(KNJavascriptEngine::initWithSourceString("throw 1;"));
}

TEST(ScriptLoading, LongMessagesAreCutOnCharacterBoundaries) {
    // "a" then 666 three-byte characters: 1999 bytes, and byte 1023 falls inside a character.
    std::string message = "a";
    for (int i = 0; i < 666; ++i) {
        message += "\u20AC";
    }
    const std::string ellipsis = "\u2026";
    const std::string reason = loadFailure("throw new Error('" + message + "');");
    EXPECT_EQ(reason.size(), 1021u);
    EXPECT_TRUE(kinora::isValidUTF8(reason));
    ASSERT_TRUE(reason.ends_with(ellipsis));
    EXPECT_EQ(message.compare(0, reason.size() - ellipsis.size(), reason, 0,
                              reason.size() - ellipsis.size()),
              0);

    // Four-byte characters are two UTF-16 units in the engine.
    std::string emoji;
    for (int i = 0; i < 500; ++i) {
        emoji += "\U0001F600";
    }
    const std::string emojiReason = loadFailure("throw new Error('" + emoji + "');");
    EXPECT_EQ(emojiReason.size(), 1023u);
    EXPECT_TRUE(kinora::isValidUTF8(emojiReason));

    const std::string exact(1023, 'x');
    EXPECT_EQ(loadFailure("throw new Error('" + exact + "');"), exact);
    EXPECT_EQ(loadFailure("throw new Error('" + exact + "y');"), exact.substr(3) + ellipsis);
}

TEST(ScriptLoading, ErrorsAtLoadNameTheirLineApartFromTheMessage) {
    struct Case {
        std::string source;
        std::optional<int> line;
    };
    for (const Case& c : {Case{"var a = 1;\n\nfunction evolution( {", 3},
                          Case{"var parameters = [];\nthrow new Error('no system here');", 2},
                          Case{"throw 'plain text';", std::nullopt},
                          Case{"function evolution() {}", std::nullopt}}) {
        SCOPED_TRACE(c.source);
        KNError error;
        EXPECT_FALSE(KNJavascriptEngine::initWithSourceString(c.source, &error));
        EXPECT_EQ(error.line, c.line);
        EXPECT_EQ(error.failureReason.find("line"), std::string::npos) << error.failureReason;
    }
}

TEST(ScriptLoading, SourceTextMustBeUTF8WithoutNUL) {
    EXPECT_EQ(loadFailure(lorenzScript + "// caf\xff"), "The script is not valid UTF-8 text.");
    EXPECT_EQ(loadFailure(std::string("var a;\0", 7) + lorenzScript),
              "The script contains a NUL character.");
    EXPECT_TRUE(loaded(lorenzScript + "// caf\u00E9 \U0001F600"));
}

TEST(ScriptLoading, Utf8ValidityFollowsTheEncodingRules) {
    for (const char* valid : {"", "abc", "\u00E9", "\u20AC", "\U0001F600", "\U0010FFFF"}) {
        EXPECT_TRUE(kinora::isValidUTF8(valid)) << valid;
    }
    for (const char* invalid : {"\x80", "a\xC3", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80",
                                "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80", "\xE2\x82"}) {
        EXPECT_FALSE(kinora::isValidUTF8(invalid)) << invalid;
    }
}

TEST(ScriptLoading, Utf8PrefixNeverSplitsACharacter) {
    EXPECT_EQ(kinora::utf8Prefix("abc", 3), "abc");
    EXPECT_EQ(kinora::utf8Prefix("ab\u00E9", 3), "ab");
    EXPECT_EQ(kinora::utf8Prefix("\U0001F600", 3), "");
    EXPECT_EQ(kinora::utf8Prefix("\U0001F600!", 4), "\U0001F600");
    EXPECT_EQ(kinora::utf8Prefix("abc", 0), "");
}

TEST(ScriptLoading, TopLevelCodeThatNeverEndsIsStopped) {
    EXPECT_EQ(loadFailure("while (true) {}"), "The script took too long to run and was stopped.");
    // Slow but finite top-level code is not mistaken for a hang.
    EXPECT_TRUE(loaded("var s = 0; for (var i = 0; i < 1e6; ++i) s += i;" + lorenzScript));
}

} // namespace
