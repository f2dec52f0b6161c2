#include "KNTrajectoryCsv.h"

#include <charconv>
#include <cmath>
#include <utility>

namespace {

constexpr std::size_t chunkBytes = 1 << 20;

} // namespace

KNTrajectoryCsv::KNTrajectoryCsv(std::vector<std::string> parameterNames,
                                 std::function<bool(std::string_view)> sink)
    : parameterNames(std::move(parameterNames)), sink(std::move(sink)) {
    buffer.reserve(chunkBytes + 4096);
}

void KNTrajectoryCsv::appendNumber(std::string& text, double value) {
    if (std::isnan(value)) {
        text += "nan";
        return;
    }
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, result.ptr);
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

bool KNTrajectoryCsv::writeHeader() {
    buffer += "seed,evolution,s";
    for (const std::string& name : parameterNames) {
        buffer += ',' + field(name);
    }
    buffer += ",t,x,y,z\n";
    return flushIfFull();
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

    for (std::int32_t i = first; i < end; ++i) {
        buffer += prefix;
        appendNumber(buffer, static_cast<double>(i + 1) * step);
        for (std::size_t k = 0; k < 3; ++k) {
            buffer += ',';
            appendNumber(buffer, states[3 * static_cast<std::size_t>(i) + k]);
        }
        buffer += '\n';
        if (!flushIfFull()) {
            return false;
        }
    }
    return !failed;
}

bool KNTrajectoryCsv::flushIfFull() {
    if (!failed && buffer.size() >= chunkBytes) {
        failed = !sink(buffer);
        buffer.clear();
    }
    return !failed;
}

bool KNTrajectoryCsv::finish() {
    if (!failed && !buffer.empty()) {
        failed = !sink(buffer);
        buffer.clear();
    }
    return !failed;
}
