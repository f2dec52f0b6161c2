#include "KNParameterTableView.h"

#include "KNParameterField.h"
#include "KNParameterSliderLink.h"
#include "KNParameterTableViewOwner.h"

#include <QGridLayout>
#include <QLabel>
#include <QSlider>

namespace {

QSlider* makeSlider(QWidget* parent) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setMinimumWidth(80);
    // Tab goes from field to field; a clicked slider still takes the arrow keys.
    slider->setFocusPolicy(Qt::ClickFocus);
    return slider;
}

KNParameterField* makeField(QWidget* parent, const QString& toolTip) {
    auto* field = new KNParameterField(parent);
    field->setToolTip(toolTip);
    field->setAlignment(Qt::AlignRight);
    // Wide enough for a float in full, such as "-0.33333334".
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("-0.333333349")));
    return field;
}

} // namespace

KNParameterTableView::KNParameterTableView(std::weak_ptr<KNParameterTableViewOwner> owner,
                                           QWidget* parent)
    : QWidget(parent), _owner(std::move(owner)), _nameField(new QLabel(this)),
      _minField(makeField(this, tr("Start of the sweep"))),
      _maxField(makeField(this, tr("End of the sweep"))), _startSlider(makeSlider(this)),
      _endSlider(makeSlider(this)),
      _startLink(new KNParameterSliderLink(_minField, _startSlider, this)),
      _endLink(new KNParameterSliderLink(_maxField, _endSlider, this)) {
    // A script may name a parameter "<b>x</b>"; that is its name, not markup.
    _nameField->setTextFormat(Qt::PlainText);
    _nameField->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(_nameField, 0, 0, 1, 3);
    layout->addWidget(new QLabel(tr("start"), this), 1, 0);
    layout->addWidget(_minField, 1, 1);
    layout->addWidget(_startSlider, 1, 2);
    layout->addWidget(new QLabel(tr("end"), this), 2, 0);
    layout->addWidget(_maxField, 2, 1);
    layout->addWidget(_endSlider, 2, 2);
    layout->setColumnStretch(2, 1);

    connect(_minField, &KNNumberField::valueEntered, this, [this] {
        if (const auto owner = _owner.lock()) {
            owner->changeParameterStart(_minField);
        }
    });
    connect(_maxField, &KNNumberField::valueEntered, this, [this] {
        if (const auto owner = _owner.lock()) {
            owner->changeParameterEnd(_maxField);
        }
    });
}
