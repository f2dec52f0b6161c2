#include "KNAnalysisRequest.h"

#include "OrbitDiagram.h"

#include <array>
#include <charconv>
#include <cmath>

namespace {

template <class Number> bool parseWhole(const std::string& text, Number* value) {
    const char* end = text.data() + text.size();
    const auto [rest, failure] = std::from_chars(text.data(), end, *value);
    return failure == std::errc() && rest == end;
}

std::optional<int> axisNamed(const std::string& name) {
    static const std::array<std::string, 3> names{"x", "y", "z"};
    for (int axis = 0; axis < 3; ++axis) {
        if (name == names[static_cast<std::size_t>(axis)]) {
            return axis;
        }
    }
    return std::nullopt;
}

std::optional<kinora::PoincareSection> sectionNamed(const std::string& text) {
    const std::size_t equals = text.find('=');
    const std::size_t comma = text.find(',');
    if (equals == std::string::npos) {
        return std::nullopt;
    }
    const std::optional<int> axis = axisNamed(text.substr(0, equals));
    double value = 0.0;
    const std::string number = text.substr(
        equals + 1, comma == std::string::npos ? std::string::npos : comma - equals - 1);
    if (!axis || !parseWhole(number, &value) || !std::isfinite(value)) {
        return std::nullopt;
    }
    kinora::CrossingDirection direction = kinora::CrossingDirection::increasing;
    if (comma != std::string::npos) {
        const std::string word = text.substr(comma + 1);
        if (word == "down") {
            direction = kinora::CrossingDirection::decreasing;
        } else if (word == "both") {
            direction = kinora::CrossingDirection::both;
        } else if (word != "up") {
            return std::nullopt;
        }
    }
    return kinora::PoincareSection(*axis, value, direction);
}

} // namespace

std::optional<KNAnalysisRequest::Table> KNAnalysisRequest::tableNamed(const std::string& name) {
    if (name == "equilibria") {
        return Table::equilibria;
    }
    if (name == "lyapunov") {
        return Table::lyapunov;
    }
    if (name == "crossings") {
        return Table::crossings;
    }
    if (name == "orbit-diagram") {
        return Table::orbitDiagram;
    }
    return std::nullopt;
}

bool KNAnalysisRequest::isOption(const std::string& argument) {
    return argument == "--table" || argument == "--shard" || argument == "--section" ||
           argument == "--maxima" || argument == "--values";
}

std::optional<std::string> KNAnalysisRequest::readOption(const std::string& option,
                                                         const std::string& value) {
    if (option == "--table") {
        const std::optional<Table> named = tableNamed(value);
        if (!named) {
            return "--table needs equilibria, lyapunov, crossings or orbit-diagram; '" + value +
                   "' is none of them.";
        }
        table = *named;
        tableGiven = true;
    } else if (option == "--shard") {
        const std::size_t slash = value.find('/');
        if (slash == std::string::npos || !parseWhole(value.substr(0, slash), &part) ||
            !parseWhole(value.substr(slash + 1), &parts) || parts < 1 || part < 1 || part > parts) {
            return "--shard needs K/N with 1 <= K <= N (for example 2/8); '" + value + "' is not.";
        }
    } else if (option == "--section") {
        const std::optional<kinora::PoincareSection> named = sectionNamed(value);
        if (!named) {
            return "--section needs AXIS=VALUE with AXIS x, y or z and a finite VALUE, "
                   "optionally followed by ,down or ,both (for example z=27); '" +
                   value + "' is not.";
        }
        section = named;
    } else if (option == "--maxima") {
        const std::optional<int> axis = axisNamed(value);
        if (!axis) {
            return "--maxima needs x, y or z; '" + value + "' is none of them.";
        }
        maximaVariable = *axis;
    } else if (option == "--values") {
        if (!parseWhole(value, &orbitValues) || orbitValues < kinora::minimumOrbitResolution ||
            orbitValues > kinora::maximumOrbitResolution) {
            return "--values needs a whole number from " +
                   std::to_string(kinora::minimumOrbitResolution) + " to " +
                   std::to_string(kinora::maximumOrbitResolution) + "; '" + value + "' is not.";
        }
    }
    return std::nullopt;
}
