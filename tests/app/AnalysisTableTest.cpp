#include "AppTestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const char* const lorenzScript = KINORA_SOURCE_DIR "/examples/lorenz.js";

// The tables of examples/lorenz.js as the command line writes them: rho from 10 to 28 over ten
// evolutions, seeds (1, 1, 1) and (−3, 2, 12).
class AnalysisTableTest : public ::testing::Test {
protected:
    QTemporaryDir folder;

    int run(const QStringList& arguments, QByteArray* errors = nullptr) {
        return runHeadless(folder.filePath("data"), arguments, errors);
    }

    QByteArray table(const QStringList& options, const QString& name) {
        const QString path = folder.filePath(name);
        EXPECT_EQ(run(QStringList{"--export-data", path} + options + QStringList{lorenzScript}), 0)
            << name.toStdString();
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

std::vector<std::string> fields(const QByteArray& line) {
    std::vector<std::string> result;
    for (const QByteArray& field : line.split(',')) {
        result.push_back(field.toStdString());
    }
    return result;
}

TEST_F(AnalysisTableTest, EquilibriaAreTheClosedFormsWithTheirClasses) {
    const QList<QByteArray> lines = table({"--table", "equilibria"}, "equilibria.csv").split('\n');
    ASSERT_GT(lines.size(), 1);
    EXPECT_EQ(lines[0], "evolution,s,rho,sigma,beta,x,y,z,re1,im1,re2,im2,re3,im3,class");
    // At rho = 28 (evolution 9): C− , the origin and C+, sqrt(beta (rho − 1)) apart; beyond the
    // Hopf point at 24.74 C± are saddle-foci. At rho = 10 (evolution 0) they are stable foci.
    std::vector<std::vector<std::string>> last, first;
    for (const QByteArray& line : lines.mid(1)) {
        const auto row = fields(line);
        if (row.size() == 15 && row[0] == "9") {
            last.push_back(row);
        } else if (row.size() == 15 && row[0] == "0") {
            first.push_back(row);
        }
    }
    ASSERT_EQ(last.size(), 3u);
    ASSERT_EQ(first.size(), 3u);
    const double r = std::sqrt(8.0 / 3.0 * 27.0);
    const double expected[3][3] = {{-r, -r, 27}, {0, 0, 0}, {r, r, 27}};
    for (int k = 0; k < 3; ++k) {
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_NEAR(std::stod(last[k][5 + axis]), expected[k][axis], 1e-10);
        }
    }
    EXPECT_EQ(last[0][14], "saddle-focus");
    EXPECT_EQ(last[1][14], "saddle");
    EXPECT_EQ(last[2][14], "saddle-focus");
    EXPECT_EQ(first[0][14], "stable focus");
    // The origin's eigenvalues at rho = 28: −(sigma + 1)/2 ± sqrt((sigma + 1)² + 4 sigma (rho −
    // 1))/2 and −beta.
    const double root = std::sqrt(121.0 + 40.0 * 27.0);
    EXPECT_NEAR(std::stod(last[1][8]), (-11.0 - root) / 2, 1e-6);
    EXPECT_NEAR(std::stod(last[1][10]), -8.0 / 3.0, 1e-6);
    EXPECT_NEAR(std::stod(last[1][12]), (-11.0 + root) / 2, 1e-6);
}

TEST_F(AnalysisTableTest, ShardsConcatenatedWithoutTheirHeadersAreTheWholeTable) {
    const std::vector<QStringList> tables{
        {"--table", "equilibria"},
        {"--table", "lyapunov"},
        {"--table", "crossings", "--section", "z=20,both"},
        {"--table", "orbit-diagram", "--values", "100"},
    };
    for (const QStringList& options : tables) {
        SCOPED_TRACE(options.join(' ').toStdString());
        const QByteArray whole = table(options, "whole.csv");
        ASSERT_GT(whole.count('\n'), 3);
        QByteArray joined;
        for (int part = 1; part <= 3; ++part) {
            const QByteArray shard =
                table(options + QStringList{"--shard", QString("%1/3").arg(part)}, "part.csv");
            joined += part == 1 ? shard : shard.mid(shard.indexOf('\n') + 1);
        }
        EXPECT_EQ(joined, whole);
    }
}

TEST_F(AnalysisTableTest, RefusesWhatItCannotCompute) {
    QByteArray errors;
    const QString out = folder.filePath("refused.csv");
    EXPECT_EQ(run({"--export-data", out, "--table", "spectrum", lorenzScript}, &errors), 2);
    EXPECT_TRUE(errors.contains("--table needs equilibria, lyapunov")) << errors.toStdString();
    EXPECT_EQ(run({"--export-data", out, "--table", "equilibria", "--shard", "4/3", lorenzScript},
                  &errors),
              2);
    EXPECT_TRUE(errors.contains("--shard needs K/N")) << errors.toStdString();
    EXPECT_EQ(run({"--export-data", out, "--table", "crossings", lorenzScript}, &errors), 1);
    EXPECT_TRUE(errors.contains("needs a section plane")) << errors.toStdString();
    EXPECT_FALSE(QFile::exists(out));
}

} // namespace
