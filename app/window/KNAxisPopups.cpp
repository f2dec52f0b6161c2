#include "KNAxisPopups.h"

#include <QComboBox>
#include <QStringList>

KNAxisPopups::KNAxisPopups(const std::array<QComboBox*, 3>& popups,
                           const std::vector<kinora::Parameter>& parameters,
                           const std::array<std::int32_t, 3>& mapping,
                           const std::function<void()>& changed, QObject* context)
    : popups(popups) {
    QStringList items{QStringLiteral("None")};
    items.reserve(static_cast<qsizetype>(parameters.size()) + 1);
    for (const kinora::Parameter& parameter : parameters) {
        items.append(QString::fromStdString(parameter.name));
    }
    // All at once: one insertion for a thousand parameters, not a thousand.
    for (QComboBox* popup : popups) {
        popup->addItems(items);
    }
    for (std::size_t axis = 0; axis < popups.size(); ++axis) {
        popups[axis]->setCurrentIndex(mapping[axis] + 1);
        QObject::connect(popups[axis], &QComboBox::activated, context, changed);
    }
}

std::array<std::int32_t, 3> KNAxisPopups::mapping() const {
    return {popups[0]->currentIndex() - 1, popups[1]->currentIndex() - 1,
            popups[2]->currentIndex() - 1};
}
