#pragma once

#include <QWidget>
#include <memory>

class KNParameterField;
class KNParameterSliderLink;
class KNParameterTableViewOwner;
class QLabel;
class QSlider;

// One row of the parameter table: the parameter's name, its start field and slider, its end
// field and slider. The start field and slider send changeParameterStart, the end ones
// changeParameterEnd, to the owner; the row shows only what the owner stores into it.
class KNParameterTableView : public QWidget {
    Q_OBJECT

public:
    // The owner is not owned: actions are dropped once it is gone.
    explicit KNParameterTableView(std::weak_ptr<KNParameterTableViewOwner> owner,
                                  QWidget* parent = nullptr);

    QLabel* nameField() const { return _nameField; }
    KNParameterField* minField() const { return _minField; }
    KNParameterField* maxField() const { return _maxField; }
    QSlider* startSlider() const { return _startSlider; }
    QSlider* endSlider() const { return _endSlider; }
    const KNParameterSliderLink& startLink() const { return *_startLink; }
    const KNParameterSliderLink& endLink() const { return *_endLink; }

    std::shared_ptr<KNParameterTableViewOwner> owner() const { return _owner.lock(); }

private:
    std::weak_ptr<KNParameterTableViewOwner> _owner;
    // Children of the row, which deletes them.
    QLabel* _nameField;
    KNParameterField* _minField;
    KNParameterField* _maxField;
    QSlider* _startSlider;
    QSlider* _endSlider;
    KNParameterSliderLink* _startLink;
    KNParameterSliderLink* _endLink;
};
