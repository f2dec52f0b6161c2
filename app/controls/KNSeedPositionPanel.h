#pragma once

#include "Vector3.h"

#include <QWidget>
#include <array>
#include <optional>

class KNNumberField;

// The selected seed's x, y and z as number fields. A typed coordinate is sent as the seed's new
// position (Return or leaving the field); with no seed selected the fields are empty and
// disabled. It shows only what it is told, so it can follow a seed during a drag.
class KNSeedPositionPanel : public QWidget {
    Q_OBJECT

public:
    explicit KNSeedPositionPanel(QWidget* parent = nullptr);

    // The position of the selected seed, or nothing when no seed is selected.
    void showPosition(std::optional<kinora::Vector3> position);

    KNNumberField* field(int axis) const { return fields[static_cast<std::size_t>(axis)]; }

    // Why a coordinate cannot be taken, or nothing: the views draw in single precision.
    static std::optional<QString> coordinateRefusal(double value);

signals:
    // The user entered a coordinate: position is the seed's position with it.
    void positionEntered(kinora::Vector3 position);
    void valueRefused(const QString& reason);

private:
    kinora::Vector3 enteredPosition() const;

    // Children of the panel.
    std::array<KNNumberField*, 3> fields{};
};
