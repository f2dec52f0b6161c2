#include "KNNumberParser.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

const QLocale cLocale = QLocale::c();
const QLocale german(QLocale::German, QLocale::Germany);
const QLocale english(QLocale::English, QLocale::UnitedStates);

TEST(NumberParser, ReadsTheCLocaleFormsExactly) {
    const KNNumberParser parser(cLocale);
    EXPECT_EQ(parser.parse("28"), 28.0);
    EXPECT_EQ(parser.parse("0.1"), 0.1);
    EXPECT_EQ(parser.parse("-3.5"), -3.5);
    EXPECT_EQ(parser.parse("+4"), 4.0);
    EXPECT_EQ(parser.parse("  2.5\t"), 2.5);
    EXPECT_EQ(parser.parse("1e3"), 1000.0);
    EXPECT_EQ(parser.parse(".5"), 0.5);
    EXPECT_EQ(parser.parse("-0"), 0.0);
    EXPECT_EQ(parser.parse("1e300"), 1e300);
}

TEST(NumberParser, RefusesWhatIsNotAFiniteDouble) {
    const KNNumberParser parser(cLocale);
    for (const char* text :
         {"",         "   ",   "abc",    "nan",    "NaN",  "-nan", "inf",  "-inf",
          "infinity", "1e400", "-1e400", "1e-400", "2.5x", "x2.5", "1 2",  "+-1",
          "++1",      "+",     "-",      "0x10",   "1,5",  "1e",   "1.2.3"}) {
        EXPECT_EQ(parser.parse(text), std::nullopt) << '"' << text << '"';
    }
}

TEST(NumberParser, AcceptsTheDesktopDecimalSeparatorBesideThePoint) {
    const KNNumberParser parser(german);
    EXPECT_EQ(parser.parse("0,5"), 0.5);
    EXPECT_EQ(parser.parse("-2,25e1"), -22.5);
    EXPECT_EQ(parser.parse("0.5"), 0.5);
    // Group separators are refused in both readings rather than guessed at.
    EXPECT_EQ(parser.parse("1.000,5"), std::nullopt);
    EXPECT_EQ(parser.parse("1.000.000"), std::nullopt);
    for (const char* text : {"nan", "inf", "1e400", "1,5,", "abc", ""}) {
        EXPECT_EQ(parser.parse(text), std::nullopt) << '"' << text << '"';
    }
}

TEST(NumberParser, AcceptsNoCommaWhereTheDesktopUsesThePoint) {
    const KNNumberParser parser(english);
    EXPECT_EQ(parser.parse("1,5"), std::nullopt);
    EXPECT_EQ(parser.parse("1,000"), std::nullopt);
    EXPECT_EQ(parser.parse("1.5"), 1.5);
}

} // namespace
