#pragma once

#include "KNSliderScale.h"

#include <QObject>

class KNParameterField;
class QSlider;

// Keeps a slider beside a parameter field: moving the slider (drag, keys, wheel) enters the
// value at its position into the field, live; a value stored in the field from elsewhere moves
// the slider to it. The slider keeps its scale while the field's value lies within it, so its
// ends do not shift under the user's hand; a value outside it brings the scale around that
// value. Neither control is owned.
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
};
