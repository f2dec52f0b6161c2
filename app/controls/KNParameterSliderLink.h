#pragma once

#include "KNSliderScale.h"

#include <QObject>

class KNParameterField;
class QSlider;

// Keeps a slider beside a parameter field: moving the slider (drag, keys, wheel) enters the
// value at its position into the field, live; a value stored in the field from elsewhere moves
// the slider to it. A value from elsewhere (typed, a handle drag) brings the scale around it, so
// the range follows the value both ways, growing and shrinking again; a value the slider itself
// entered keeps the scale, so its ends do not shift under the user's hand. Neither control is
// owned.
class KNParameterSliderLink : public QObject {
    Q_OBJECT

public:
    KNParameterSliderLink(KNParameterField* field, QSlider* slider, QObject* parent = nullptr);

    const KNSliderScale& scale() const { return _scale; }

private:
    void enterValueAtPosition(int position);
    void fieldValueChanged(double value);
    void showScaleOnSlider();

    KNParameterField* field;
    QSlider* slider;
    KNSliderScale _scale;
    // While the slider's own value is being entered, and answered by the field's owner.
    bool sliding = false;
};
