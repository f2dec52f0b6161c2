#include "KNParameterSliderLink.h"

#include "KNParameterField.h"

#include <QSignalBlocker>
#include <QSlider>

KNParameterSliderLink::KNParameterSliderLink(KNParameterField* field, QSlider* slider,
                                             QObject* parent)
    : QObject(parent), field(field), slider(slider),
      _scale(KNSliderScale::around(field->doubleValue())) {
    showScaleOnSlider();
    slider->setValue(_scale.positionOf(field->doubleValue()));
    connect(slider, &QSlider::valueChanged, this, &KNParameterSliderLink::enterValueAtPosition);
    connect(field, &KNParameterField::doubleValueChanged, this,
            &KNParameterSliderLink::fieldValueChanged);
}

void KNParameterSliderLink::enterValueAtPosition(int position) {
    field->enterDoubleValue(_scale.valueAt(position));
}

void KNParameterSliderLink::fieldValueChanged(double value) {
    if (!_scale.contains(value)) {
        _scale = KNSliderScale::around(value);
        showScaleOnSlider();
    }
    const QSignalBlocker blocker(slider);
    slider->setValue(_scale.positionOf(value));
}

void KNParameterSliderLink::showScaleOnSlider() {
    const QSignalBlocker blocker(slider);
    slider->setRange(_scale.minimumPosition(), _scale.maximumPosition());
    slider->setSingleStep(1);
    slider->setPageStep(KNSliderScale::positionsPerReach / 10);
}
