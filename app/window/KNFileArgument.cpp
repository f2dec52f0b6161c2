#include "KNFileArgument.h"

#include <QFileInfo>
#include <QRegularExpression>

QUrl fileArgumentURL(const QString& argument) {
    const QFileInfo file(argument);
    if (!file.exists()) {
        static const QRegularExpression uri(QStringLiteral("^([a-z][a-z0-9+.-]*://|file:)"),
                                            QRegularExpression::CaseInsensitiveOption);
        if (uri.match(argument).hasMatch()) {
            QUrl url(argument);
            if (url.isLocalFile() &&
                url.host().compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0) {
                url.setHost(QString());
            }
            return url;
        }
    }
    return QUrl::fromLocalFile(file.absoluteFilePath());
}
