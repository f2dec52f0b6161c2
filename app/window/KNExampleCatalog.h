#pragma once

#include <QString>
#include <vector>

// One shipped example system: the title its menu item shows and its file.
struct KNExample {
    QString title;
    QString path;
};

// The example systems shipped with the program. They live in the nearest share/kinora/examples
// above the executable: beside bin/ in an install tree, and in the build tree as a link to the
// source tree's examples/, so a program run from the build opens the sources themselves.
class KNExampleCatalog {
public:
    // The folder, or an empty string when there is none.
    static QString examplesDirectory();
    // Every script (*.js) in directory, sorted by title.
    static std::vector<KNExample> examplesIn(const QString& directory);
    // The title a script gives itself in its first line, a comment such as "// Lorenz system
    // (1963): ...": the text before the first " (" or ":". The file's base name when the first
    // line is no such comment.
    static QString titleOf(const QString& source, const QString& fileName);
};
