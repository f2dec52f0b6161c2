#include "KNTrajectoryCsv.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <utility>

namespace {

constexpr std::size_t chunkBytes = 1 << 20;
// The longest shortest form of a double, "-2.2250738585072014e-308", with room to spare.
constexpr std::size_t maxNumberLength = 32;

} // namespace

KNTrajectoryCsv::KNTrajectoryCsv(std::vector<std::string> parameterNames,
                                 std::function<bool(std::string_view)> sink)
    : parameterNames(std::move(parameterNames)), sink(std::move(sink)), buffer(chunkBytes + 4096) {}

char* KNTrajectoryCsv::writeNumber(char* out, double value) {
    if (std::isnan(value)) {
        return std::copy_n("nan", 3, out);
    }
    return std::to_chars(out, out + maxNumberLength, value).ptr;
}

void KNTrajectoryCsv::appendNumber(std::string& text, double value) {
    char digits[maxNumberLength];
    text.append(digits, writeNumber(digits, value));
}

std::string KNTrajectoryCsv::field(const std::string& text) {
    const bool plain = text.find_first_of(",\"\r\n") == std::string::npos &&
                       (text.empty() || (text.front() != ' ' && text.back() != ' '));
    if (plain) {
        return text;
    }
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return quoted + "\"";
}

char* KNTrajectoryCsv::reserve(std::size_t bytes) {
    if (used + bytes > buffer.size()) {
        flush();
        if (bytes > buffer.size()) {
            buffer.resize(bytes);
        }
    }
    return buffer.data() + used;
}

void KNTrajectoryCsv::append(std::string_view text) {
    char* out = reserve(text.size());
    used = static_cast<std::size_t>(std::copy(text.begin(), text.end(), out) - buffer.data());
}

bool KNTrajectoryCsv::writeHeader() {
    append("seed,evolution,s");
    for (const std::string& name : parameterNames) {
        append(",");
        append(field(name));
    }
    append(",t,x,y,z\n");
    return flushIfFull();
}

std::string_view KNTrajectoryCsv::timeText(std::int32_t i, double step) {
    // Compared bit for bit, so that a step that is not a number keeps its texts too.
    if (std::bit_cast<std::uint64_t>(step) != std::bit_cast<std::uint64_t>(timeStep)) {
        timeStep = step;
        timeTexts.clear();
        timeEnds.clear();
    }
    while (timeEnds.size() <= static_cast<std::size_t>(i)) {
        appendNumber(timeTexts, static_cast<double>(timeEnds.size() + 1) * step);
        timeEnds.push_back(timeTexts.size());
    }
    const std::size_t begin = i == 0 ? 0 : timeEnds[static_cast<std::size_t>(i) - 1];
    return std::string_view(timeTexts).substr(begin, timeEnds[static_cast<std::size_t>(i)] - begin);
}

bool KNTrajectoryCsv::writeRows(int seed, int evolution, double s,
                                const std::vector<double>& parameterValues, double step,
                                const double* states, std::int32_t first, std::int32_t end) {
    // The part every row of the path shares.
    std::string prefix = std::to_string(seed) + ',' + std::to_string(evolution) + ',';
    appendNumber(prefix, s);
    for (double value : parameterValues) {
        prefix += ',';
        appendNumber(prefix, value);
    }
    prefix += ',';

    const std::size_t rowLength = prefix.size() + 4 * (maxNumberLength + 1);
    for (std::int32_t i = first; i < end; ++i) {
        const std::string_view time = timeText(i, step);
        char* out = reserve(rowLength);
        out = std::copy(prefix.begin(), prefix.end(), out);
        out = std::copy(time.begin(), time.end(), out);
        for (std::size_t k = 0; k < 3; ++k) {
            *out++ = ',';
            out = writeNumber(out, states[3 * static_cast<std::size_t>(i) + k]);
        }
        *out++ = '\n';
        used = static_cast<std::size_t>(out - buffer.data());
        if (!flushIfFull()) {
            return false;
        }
    }
    return !failed;
}

bool KNTrajectoryCsv::flushIfFull() {
    if (used >= chunkBytes) {
        flush();
    }
    return !failed;
}

bool KNTrajectoryCsv::flush() {
    if (!failed && used > 0) {
        failed = !sink(std::string_view(buffer.data(), used));
    }
    used = 0;
    return !failed;
}

bool KNTrajectoryCsv::finish() {
    return flush();
}
