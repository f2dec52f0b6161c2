#include "KNSeedPositionPanel.h"

#include "KNNumberField.h"

#include <QHBoxLayout>
#include <QLabel>
#include <cmath>
#include <limits>

KNSeedPositionPanel::KNSeedPositionPanel(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(tr("Seed"), this));
    const char* const names[] = {"x", "y", "z"};
    for (std::size_t axis = 0; axis < fields.size(); ++axis) {
        auto* field = new KNNumberField(this);
        field->setAlignment(Qt::AlignRight);
        field->setToolTip(tr("The selected seed's %1 coordinate").arg(names[axis]));
        field->setCheck(&KNSeedPositionPanel::coordinateRefusal);
        // A dragged seed's coordinates have some 17 digits: readable from their start, exact
        // once edited.
        field->setIdleSignificantDigits(6);
        // Room for the longest rounded coordinate.
        field->setMinimumWidth(
            field->fontMetrics().horizontalAdvance(QStringLiteral("-0.000123457")) +
            2 * field->fontMetrics().averageCharWidth());
        auto* label = new QLabel(QString::fromLatin1(names[axis]), this);
        label->setBuddy(field);
        layout->addWidget(label);
        layout->addWidget(field, 1);
        connect(field, &KNNumberField::valueEntered, this,
                [this] { emit positionEntered(enteredPosition()); });
        connect(field, &KNNumberField::valueRefused, this, &KNSeedPositionPanel::valueRefused);
        fields[axis] = field;
    }
    showPosition(std::nullopt);
}

void KNSeedPositionPanel::showPosition(std::optional<kinora::Vector3> position) {
    for (std::size_t axis = 0; axis < fields.size(); ++axis) {
        KNNumberField* field = fields[axis];
        field->setEnabled(position.has_value());
        if (position) {
            field->setDoubleValue(axis == 0 ? position->x : axis == 1 ? position->y : position->z);
        } else {
            field->clear();
        }
    }
}

std::optional<QString> KNSeedPositionPanel::coordinateRefusal(double value) {
    constexpr double largest = std::numeric_limits<float>::max();
    if (std::abs(value) > largest) {
        return tr("A seed coordinate must lie between -%1 and %1, which the views can draw; "
                  "%2 is beyond.")
            .arg(KNNumberField::shortestText(largest), KNNumberField::shortestText(value));
    }
    return std::nullopt;
}

kinora::Vector3 KNSeedPositionPanel::enteredPosition() const {
    return {fields[0]->doubleValue(), fields[1]->doubleValue(), fields[2]->doubleValue()};
}
