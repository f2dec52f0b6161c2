#include "KNSectionPanel.h"

#include "AnalysisPanelSettings.h"
#include "KNAnalysisPictures.h"
#include "KNNumberField.h"
#include "KNScatterView.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

KNSectionPanel::KNSectionPanel(QWidget* parent)
    : QWidget(parent), axis(new QComboBox), value(new KNNumberField), direction(new QComboBox),
      view(new KNScatterView) {
    axis->addItems({QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")});
    axis->setToolTip(QStringLiteral("The axis the plane is normal to"));
    value->setToolTip(QStringLiteral("Where the plane cuts its axis; Ctrl+drag in the plot view "
                                     "moves it"));
    value->setMaximumWidth(110);
    direction->addItems(
        {QStringLiteral("upward"), QStringLiteral("downward"), QStringLiteral("both ways")});
    direction->setToolTip(QStringLiteral("Which passages through the plane count"));
    auto* controls = new QHBoxLayout;
    controls->addWidget(new QLabel(QStringLiteral("Plane")));
    controls->addWidget(axis);
    controls->addWidget(new QLabel(QStringLiteral("=")));
    controls->addWidget(value);
    controls->addWidget(direction);
    controls->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(controls);
    layout->addWidget(view, 1);

    const auto send = [this] {
        if (changed) {
            changed(chosen());
        }
    };
    connect(axis, &QComboBox::activated, this, send);
    connect(direction, &QComboBox::activated, this, send);
    connect(value, &KNNumberField::valueEntered, this, send);
}

void KNSectionPanel::showSection(const kinora::PoincareSection& section) {
    axis->setCurrentIndex(section.axis);
    value->setDoubleValue(section.value);
    direction->setCurrentIndex(static_cast<int>(section.direction));
}

void KNSectionPanel::showDots(const kinora::PoincareSection& section,
                              const std::vector<kinora::SectionDot>& dots) {
    drawSectionPicture(view->picture(), section, dots);
    view->refresh();
}

void KNSectionPanel::setSectionChanged(
    std::function<void(const kinora::PoincareSection&)> changedHandler) {
    changed = std::move(changedHandler);
}

void KNSectionPanel::setRefused(std::function<void(const QString&)> refused) {
    connect(value, &KNNumberField::valueRefused, this,
            [refused = std::move(refused)](const QString& reason) { refused(reason); });
}

kinora::PoincareSection KNSectionPanel::chosen() const {
    return {axis->currentIndex(), value->doubleValue(),
            static_cast<kinora::CrossingDirection>(direction->currentIndex())};
}
