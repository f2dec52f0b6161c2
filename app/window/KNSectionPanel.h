#pragma once

#include "PoincareSection.h"
#include "SectionDots.h"

#include <QWidget>
#include <functional>
#include <vector>

class KNNumberField;
class KNScatterView;
class QComboBox;

// The section panel: the plane's axis, value and crossing direction, and the crossings of every
// path drawn in the plane's own two coordinates, coloured by s.
class KNSectionPanel : public QWidget {
public:
    explicit KNSectionPanel(QWidget* parent = nullptr);

    // Shows section in the controls; sends nothing.
    void showSection(const kinora::PoincareSection& section);
    // The dots in the plane's coordinates.
    void showDots(const kinora::PoincareSection& section,
                  const std::vector<kinora::SectionDot>& dots);
    // Called with the plane the user chose.
    void setSectionChanged(std::function<void(const kinora::PoincareSection&)> changed);
    // Called with why a typed value was refused.
    void setRefused(std::function<void(const QString&)> refused);

    KNScatterView* scatterView() const { return view; }
    KNNumberField* valueField() const { return value; }
    QComboBox* axisPopup() const { return axis; }

private:
    kinora::PoincareSection chosen() const;

    QComboBox* axis;
    KNNumberField* value;
    QComboBox* direction;
    KNScatterView* view;
    std::function<void(const kinora::PoincareSection&)> changed;
};
