#pragma once

#include <QLocale>
#include <QString>
#include <optional>

// Reads a number typed into a parameter field. Accepts the C locale's decimal point and, where
// the desktop locale's decimal separator differs, that one too; never group separators, which
// would make "1.000" mean a thousand or one depending on the desktop.
class KNNumberParser {
public:
    explicit KNNumberParser(const QLocale& desktopLocale = QLocale());

    // The finite double that text spells, ignoring surrounding white space; nothing for text
    // that is empty, not a number, infinite, NaN, or beyond the range of a double (either end,
    // so "1e-400" is refused rather than silently read as 0).
    std::optional<double> parse(const QString& text) const;

private:
    static std::optional<double> parseInCLocale(const QString& text);

    std::optional<QLocale> desktopLocale;
};
