#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Trajectories as comma-separated values: a header row, then one row per vertex with the seed's
// number (kinora::seedNumber), the evolution index, s, each parameter's value, t, x, y and z.
// Numbers are written in the shortest form that reads back to the same double ("nan", "inf" and
// "-inf" for the non-finite ones), so the file holds exactly the values computed.
class KNTrajectoryCsv {
public:
    // Text goes to sink in chunks of about a megabyte; a sink that returns false ends the
    // writing, and every later call returns false.
    KNTrajectoryCsv(std::vector<std::string> parameterNames,
                    std::function<bool(std::string_view)> sink);

    bool writeHeader();
    // Rows first ... end - 1 of a path whose vertex i has its x, y, z at states[3i ... 3i+2] and
    // lies at t = (i + 1) * step; a long path is written over several calls.
    bool writeRows(int seed, int evolution, double s, const std::vector<double>& parameterValues,
                   double step, const double* states, std::int32_t first, std::int32_t end);
    // Hands over what is still buffered.
    bool finish();

    // A field as CSV has it: quoted, with quotes doubled, when it holds a comma, a quote, a line
    // break or surrounding spaces.
    static std::string field(const std::string& text);
    // Appends value in the shortest form that reads back to the same double.
    static void appendNumber(std::string& text, double value);

private:
    // Writes value as appendNumber does at out, which has room for maxNumberLength characters;
    // returns the end.
    static char* writeNumber(char* out, double value);
    // Room for bytes more at the buffer's end, handing the buffer over first when it lacks it.
    char* reserve(std::size_t bytes);
    void append(std::string_view text);
    // The text of t for row i, formatted once for all the paths of the export.
    std::string_view timeText(std::int32_t i, double step);
    bool flushIfFull();
    bool flush();

    std::vector<std::string> parameterNames;
    std::function<bool(std::string_view)> sink;
    std::vector<char> buffer;
    std::size_t used = 0;
    // Every path of an export has the same step, so row i of each has the same t.
    double timeStep = 0.0;
    std::string timeTexts;
    std::vector<std::size_t> timeEnds;
    bool failed = false;
};
