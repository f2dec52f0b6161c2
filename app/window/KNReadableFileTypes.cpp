#include "KNReadableFileTypes.h"

#include <QFileInfo>

const std::vector<KNFileType>& KNReadableFileTypes::all() {
    static const std::vector<KNFileType> types = {
        {QStringLiteral("JavaScript systems"), QStringLiteral("js")},
        {QStringLiteral("Kinora sessions"), QStringLiteral("kinora")},
    };
    return types;
}

QStringList KNReadableFileTypes::nameFilters() {
    // First, and so chosen when the panel opens: every file Kinora reads.
    QStringList patterns;
    for (const KNFileType& type : all()) {
        patterns.append(QStringLiteral("*.") + type.extension);
    }
    QStringList filters{QStringLiteral("Kinora files (%1)").arg(patterns.join(QLatin1Char(' ')))};
    for (const KNFileType& type : all()) {
        filters.append(QStringLiteral("%1 (*.%2)").arg(type.description, type.extension));
    }
    return filters;
}

bool KNReadableFileTypes::reads(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    for (const KNFileType& type : all()) {
        if (suffix.compare(type.extension, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

KNError KNReadableFileTypes::refusal(const QStringList& paths) {
    QStringList names;
    for (const QString& path : paths) {
        names.append(QLatin1Char('"') + QFileInfo(path).fileName() + QLatin1Char('"'));
    }
    QStringList kinds;
    for (const KNFileType& type : all()) {
        kinds.append(QStringLiteral("%1 (.%2)").arg(type.description, type.extension));
    }
    return {"KNOpenPanelErrorDomain", 0,
            QStringLiteral("Cannot open %1: Kinora opens only %2.")
                .arg(names.join(QStringLiteral(", ")), kinds.join(QStringLiteral(", ")))
                .toStdString()};
}
