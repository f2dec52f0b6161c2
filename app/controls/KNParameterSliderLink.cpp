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
    const bool wasSliding = sliding;
    sliding = true;
    field->enterDoubleValue(_scale.valueAt(position));
    sliding = wasSliding;
}

void KNParameterSliderLink::fieldValueChanged(double value) {
    const KNSliderScale around = KNSliderScale::around(value);
    if (!sliding && !(around == _scale)) {
        _scale = around;
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
