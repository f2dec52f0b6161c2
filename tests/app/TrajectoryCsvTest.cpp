#include "KNDefinitions.h"
#include "KNTrajectoryCsv.h"
#include "KNTrajectoryExporter.h"
#include "RK4Integrator.h"
#include "SeedFan.h"
#include "SeedNumber.h"

#include <QFile>
#include <QTemporaryDir>
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

// For the larger a, y reaches infinity in finite time, and then x turns to not a number.
kinora::Vector3 blowingUp(double, const std::vector<kinora::Parameter>& p, kinora::Vector3 v) {
    return {p[0].value() * v.x * v.x - v.x, p[0].value() * v.y * v.y, p[1].value() * v.z};
}

// The export formats each path on a thread of its own while the next ones are computed, and
// keeps the computing from running far ahead: what it writes is still what one thread computing
// and formatting the paths in order writes, byte for byte.
TEST(TrajectoryCsvTest, AnExportWritesWhatFormattingThePathsInOrderWrites) {
    KNTrajectorySnapshot snapshot;
    snapshot.parameters = {kinora::Parameter("a", 0.0, 0.0, 2.0),
                           kinora::Parameter("b, c", 0.5, 0.5, -0.25)};
    snapshot.evolution = blowingUp;
    snapshot.step = 0.0001;
    snapshot.vertexCount = 40000;
    snapshot.seeds = {{{1.0, 1.0, 1.0}, 4}, {{0.5, 0.0, 2.0}, 3}, {{-1.0, 2.0, 3.0}, 1}};

    std::string expected;
    KNTrajectoryCsv csv({"a", "b, c"}, [&](std::string_view chunk) {
        expected += chunk;
        return true;
    });
    ASSERT_TRUE(csv.writeHeader());
    kinora::RK4Integrator integrator(snapshot.step);
    KinoraSystem system(snapshot.evolution, &integrator, 2);
    system.parameters = snapshot.parameters;
    const auto driver = makePathDriver(snapshot.evolution);
    kinora::SeedFan fan;
    for (std::size_t seed = 0; seed < snapshot.seeds.size(); ++seed) {
        const KNTrajectorySnapshot::SeedFanShape& shape = snapshot.seeds[seed];
        fan.compute(system, *driver, shape.position, shape.evolutions, snapshot.vertexCount);
        for (std::int32_t m = 0; m < shape.evolutions; ++m) {
            const kinora::FanPath& path = fan.path(m);
            const std::vector<double> values = {snapshot.parameters[0].valueAtFraction(path.s),
                                                snapshot.parameters[1].valueAtFraction(path.s)};
            ASSERT_TRUE(csv.writeRows(static_cast<int>(kinora::seedNumber(seed)), m, path.s, values,
                                      snapshot.step, path.states.data(), 0, snapshot.vertexCount));
        }
    }
    ASSERT_TRUE(csv.finish());
    ASSERT_NE(expected.find(",inf,"), std::string::npos);
    ASSERT_NE(expected.find(",nan,"), std::string::npos);

    QTemporaryDir folder;
    const QString path = folder.filePath("paths.csv");
    ASSERT_TRUE(KNTrajectoryExporter::write(snapshot, path.toStdString()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    ASSERT_EQ(written.size(), static_cast<qsizetype>(expected.size()));
    EXPECT_TRUE(written.toStdString() == expected);
}

} // namespace
