#include "KNExampleCatalog.h"

#include <QCollator>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

QString KNExampleCatalog::examplesDirectory() {
    const QString relative = QStringLiteral("share/kinora/examples");
    QDir directory(QCoreApplication::applicationDirPath());
    do {
        const QString candidate = directory.filePath(relative);
        if (QFileInfo(candidate).isDir()) {
            return QDir::cleanPath(candidate);
        }
    } while (directory.cdUp());
    return {};
}

std::vector<KNExample> KNExampleCatalog::examplesIn(const QString& directory) {
    std::vector<KNExample> examples;
    if (directory.isEmpty()) {
        return examples;
    }
    const QFileInfoList files =
        QDir(directory).entryInfoList({QStringLiteral("*.js")}, QDir::Files | QDir::Readable);
    for (const QFileInfo& file : files) {
        QFile script(file.filePath());
        // The title is on the first line; a file that cannot be read is left to the window's
        // own error when chosen.
        const QString firstLine =
            script.open(QIODevice::ReadOnly) ? QString::fromUtf8(script.readLine(4096)) : QString();
        examples.push_back({titleOf(firstLine, file.fileName()), file.absoluteFilePath()});
    }
    QCollator collator;
    std::sort(examples.begin(), examples.end(), [&collator](const auto& a, const auto& b) {
        return collator.compare(a.title, b.title) < 0;
    });
    return examples;
}

QString KNExampleCatalog::titleOf(const QString& source, const QString& fileName) {
    const QString firstLine = source.section(QLatin1Char('\n'), 0, 0).trimmed();
    if (firstLine.startsWith(QLatin1String("//"))) {
        QString title = firstLine.mid(2);
        for (const QString& end : {QStringLiteral(" ("), QStringLiteral(":")}) {
            const qsizetype at = title.indexOf(end);
            if (at >= 0) {
                title.truncate(at);
            }
        }
        title = title.trimmed();
        if (!title.isEmpty()) {
            return title;
        }
    }
    return QFileInfo(fileName).completeBaseName();
}
