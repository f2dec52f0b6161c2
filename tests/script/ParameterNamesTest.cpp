#include "EngineTestSupport.h"
#include "ScriptString.h"

#include <optional>
#include <vector>

namespace {

using Names = std::vector<std::string>;

std::string withParameters(const std::string& parameters) {
    return "function evolution(p, x, y, z) { return [0, 0, 0]; }\nvar parameters = " + parameters +
           ";";
}

std::optional<Names> namesOf(const std::string& parameters, KNError* error = nullptr) {
    const auto engine = loaded(withParameters(parameters));
    return engine ? engine->parameterNamesOrError(error) : std::nullopt;
}

std::string namesFailure(const std::string& parameters) {
    KNError error;
    const std::optional<Names> names = namesOf(parameters, &error);
    EXPECT_FALSE(names) << "read names from " << parameters;
    EXPECT_EQ(error.domain, "KNJavascriptErrorDomain");
    return error.failureReason;
}

TEST(ParameterNames, AreReadInIndexOrderAsStrings) {
    EXPECT_EQ(loaded(lorenzScript)->parameterNamesOrError(), (Names{"rho", "sigma", "beta"}));
    EXPECT_EQ(namesOf("[]"), Names{});
    EXPECT_EQ(namesOf("[1, 2.5, -0, 1e21, NaN]"), (Names{"1", "2.5", "0", "1e+21", "NaN"}));
    EXPECT_EQ(namesOf("['a', 'a', null, undefined, true]"),
              (Names{"a", "a", "null", "undefined", "true"}));
    EXPECT_EQ(namesOf("{length: 2, 0: 'u', 1: 'v'}"), (Names{"u", "v"}));
    EXPECT_EQ(namesOf("['\u00E9t\u00E9']"), Names{"\u00E9t\u00E9"});
}

TEST(ParameterNames, LongNamesAreCutToFitWithoutSplittingACharacter) {
    const Names names = *namesOf("['x'.repeat(5000), '\u00E9'.repeat(3000)]");
    EXPECT_EQ(names[0], std::string(4095, 'x'));
    EXPECT_EQ(names[1].size(), 4094u);
    EXPECT_TRUE(kinora::isValidUTF8(names[1]));
}

TEST(ParameterNames, CountsThatAreNoCountAreRefused) {
    for (const char* parameters :
         {"{length: -1}", "{length: 2.5}", "{length: Infinity}", "{length: NaN}", "{}",
          "{length: 1025}", "{length: 4294967296}", "{length: 'many'}"}) {
        EXPECT_EQ(namesFailure(parameters),
                  "'parameters' length is not a valid count: it must be a whole number from "
                  "0 to 1024")
            << parameters;
    }
    EXPECT_EQ(namesOf("{length: '2', 0: 'a', 1: 'b'}"), (Names{"a", "b"}));
    EXPECT_EQ(namesOf("new Array(1024)")->size(), 1024u);
}

TEST(ParameterNames, ValuesThatAreNoArrayAreRefused) {
    for (const char* parameters : {"42", "'rho'", "true"}) {
        EXPECT_EQ(namesFailure(parameters), "'parameters' is not an array") << parameters;
    }
}

TEST(ParameterNames, ExceptionsWhileReadingFailWithTheirMessage) {
    EXPECT_EQ(namesFailure("{get length() { throw new Error('no length'); }}"), "no length");
    EXPECT_EQ(namesFailure("{length: {valueOf() { throw new Error('bad count'); }}}"), "bad count");
    EXPECT_EQ(namesFailure("['a', {toString() { throw new Error('bad name'); }}]"), "bad name");
    EXPECT_EQ(namesFailure("{length: 1, get 0() { while (true) {} }}"),
              "The script took too long to run and was stopped.");
}

TEST(ParameterNames, AreReadAgainFromTheCurrentGlobal) {
    const auto engine = loaded(lorenzScript + "parameters = ['a'];");
    EXPECT_EQ(engine->parameterNamesOrError(), Names{"a"});
    KNError error;
    const auto cleared = loaded(lorenzScript + "function evolution() { parameters = undefined; }");
    cleared->makeCurrentEngineOrError();
    KNJavascriptEngine::integrable()(0, {}, {});
    EXPECT_FALSE(cleared->parameterNamesOrError(&error));
    EXPECT_EQ(error.failureReason, "'parameters' array is undefined");
}

} // namespace
