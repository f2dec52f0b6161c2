#include "KNSweepKey.h"

#include <QStringList>

namespace {

constexpr int mostNamed = 3;

QString value(double number) {
    return QString::number(number, 'g', 4);
}

} // namespace

KNSweepKey KNSweepKey::describe(const std::vector<kinora::Parameter>& parameters) {
    std::vector<const kinora::Parameter*> shown;
    for (const kinora::Parameter& parameter : parameters) {
        if (parameter.min() != parameter.max()) {
            shown.push_back(&parameter);
        }
    }
    if (shown.empty()) {
        for (const kinora::Parameter& parameter : parameters) {
            shown.push_back(&parameter);
        }
    }
    QStringList start;
    QStringList end;
    for (std::size_t i = 0; i < shown.size() && i < mostNamed; ++i) {
        const QString name = QString::fromStdString(shown[i]->name);
        start << name + QLatin1Char(' ') + value(shown[i]->min());
        end << name + QLatin1Char(' ') + value(shown[i]->max());
    }
    const QString more = shown.size() > mostNamed ? QStringLiteral(", …") : QString();
    return {start.join(QStringLiteral(", ")) + more, end.join(QStringLiteral(", ")) + more};
}
