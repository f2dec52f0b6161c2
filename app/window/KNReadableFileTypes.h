#pragma once

#include "KNError.h"

#include <QString>
#include <QStringList>
#include <vector>

// A kind of file the program opens: what the open panel calls it and its extension.
struct KNFileType {
    QString description;
    QString extension;
};

// The kinds of file the open panel offers and accepts; a new kind is one more entry in all().
class KNReadableFileTypes {
public:
    static const std::vector<KNFileType>& all();
    // "Kinora files (*.js *.kinora)" first, then one open-panel filter per kind, such as
    // "JavaScript systems (*.js)".
    static QStringList nameFilters();
    // Whether path ends in the extension of one of the kinds (in any letter case).
    static bool reads(const QString& path);
    // The error for files of other kinds, naming them and the kinds that can be opened.
    static KNError refusal(const QStringList& paths);
};
