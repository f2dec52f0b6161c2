#include "KNNumberParser.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

KNNumberParser::KNNumberParser(const QLocale& desktop) {
    // With the C locale's decimal point a second reading adds nothing but the group separators
    // this parser refuses.
    if (desktop.decimalPoint() != QStringLiteral(".")) {
        desktopLocale = desktop;
        desktopLocale->setNumberOptions(desktop.numberOptions() | QLocale::RejectGroupSeparator);
    }
}

std::optional<double> KNNumberParser::parse(const QString& text) const {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return std::nullopt;
    }
    if (const std::optional<double> value = parseInCLocale(trimmed)) {
        return value;
    }
    if (desktopLocale) {
        bool ok = false;
        const double value = desktopLocale->toDouble(trimmed, &ok);
        if (ok && std::isfinite(value)) {
            return value;
        }
    }
    return std::nullopt;
}

std::optional<double> KNNumberParser::parseInCLocale(const QString& text) {
    const std::string bytes = text.toStdString();
    const char* first = bytes.data();
    const char* const last = first + bytes.size();
    // from_chars takes a minus sign only; a plus sign is what people type too.
    if (first != last && *first == '+') {
        ++first;
        if (first != last && (*first == '-' || *first == '+')) {
            return std::nullopt;
        }
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}
