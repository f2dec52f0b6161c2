#include "KNTrajectoryCsv.h"

#include <charconv>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

double parsed(const std::string& text) {
    double value = 0.0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_TRUE(failure == std::errc() && end == text.data() + text.size()) << text;
    return value;
}

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream stream(line);
    for (std::string field; std::getline(stream, field, ',');) {
        fields.push_back(field);
    }
    return fields;
}

// Paths written in pieces, with rows so long that one outgrows the buffer, read back to the
// values given: every row whole and in order, across the chunks the sink is handed.
TEST(TrajectoryCsvTest, RowsSplitOverCallsAndChunksReadBackExactly) {
    const std::size_t parameterCount = 70000;
    std::string text;
    int chunks = 0;
    KNTrajectoryCsv csv(std::vector<std::string>(parameterCount, "p"), [&](std::string_view chunk) {
        text += chunk;
        ++chunks;
        return true;
    });
    ASSERT_TRUE(csv.writeHeader());
    const double step = 0.1;
    std::vector<double> states;
    for (int i = 0; i < 30; ++i) {
        states.insert(states.end(), {i / 3.0, -1e-300 * i, std::sqrt(2.0) * i});
    }
    states[4] = std::numeric_limits<double>::infinity();
    const std::vector<double> values(parameterCount, 1.0 / 3.0);
    ASSERT_TRUE(csv.writeRows(1, 0, 0.0, values, step, states.data(), 0, 10));
    ASSERT_TRUE(csv.writeRows(1, 0, 0.0, values, step, states.data(), 10, 30));
    ASSERT_TRUE(csv.writeRows(1, 1, 1.0, values, step, states.data(), 0, 2));
    ASSERT_TRUE(csv.finish());
    EXPECT_GT(chunks, 2);

    std::stringstream lines(text);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line.substr(0, 18), "seed,evolution,s,p");
    EXPECT_EQ(line.substr(line.size() - 8), ",t,x,y,z");
    for (int row = 0; row < 32; ++row) {
        ASSERT_TRUE(std::getline(lines, line)) << row;
        const std::vector<std::string> fields = fieldsOf(line);
        ASSERT_EQ(fields.size(), parameterCount + 7) << row;
        const int i = row < 30 ? row : row - 30;
        EXPECT_EQ(fields[1], row < 30 ? "0" : "1");
        EXPECT_EQ(parsed(fields[3 + parameterCount / 2]), 1.0 / 3.0);
        EXPECT_EQ(parsed(fields[3 + parameterCount]), (i + 1) * step) << row;
        for (std::size_t k = 0; k < 3; ++k) {
            EXPECT_EQ(parsed(fields[4 + parameterCount + k]), states[3 * i + k]) << row;
        }
    }
    EXPECT_FALSE(std::getline(lines, line));
}

} // namespace
