#pragma once

#include <QByteArray>
#include <cstddef>
#include <map>
#include <optional>
#include <string>

// What one quick pass over a JSON text tells of its top-level object without building the
// document: how many entries each of its arrays holds, and its strings, numbers and literals as
// written. A file whose structure alone refuses it is then refused before the costly parse. The
// pass reads as far as the text goes, so a text cut short or not JSON at all gives what came
// before the fault; keys are taken as written, escapes and all.
class KNJsonOutline {
public:
    explicit KNJsonOutline(const QByteArray& text);

    // The entries of the top-level array named key, or nothing when there is no such array.
    std::optional<std::size_t> arraySize(const std::string& key) const;
    // The top-level string, number or literal named key as written (a string with its quotes),
    // or nothing.
    std::optional<std::string> scalar(const std::string& key) const;

private:
    std::map<std::string, std::size_t> arraySizes;
    std::map<std::string, std::string> scalars;
};
