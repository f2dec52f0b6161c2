#pragma once

#include "AnalysisPanelSettings.h"

#include <QWidget>
#include <functional>

class KNNumberField;
class KNScatterView;
class QComboBox;
class QLabel;

// The orbit-diagram panel: what it plots (the local maxima of a variable, or a coordinate of
// the section crossings), its number of parameter values, seed, transient and recorded time,
// the diagram as it fills in, and how far its computation has come.
class KNOrbitDiagramPanel : public QWidget {
public:
    explicit KNOrbitDiagramPanel(QWidget* parent = nullptr);

    // Shows settings in the controls; sends nothing.
    void showSettings(const kinora::OrbitPanelSettings& settings);
    // "312 of 1000 values", or what stopped the diagram.
    void showProgress(const QString& text);
    // Called with the settings the user chose; checks tells why a value is refused.
    void setSettingsChanged(std::function<void(const kinora::OrbitPanelSettings&)> changed);
    void setCheck(std::function<std::optional<QString>(const kinora::OrbitPanelSettings&)> check);
    void setRefused(std::function<void(const QString&)> refused);

    KNScatterView* scatterView() const { return view; }
    KNNumberField* valuesField() const { return values; }
    QComboBox* quantityPopup() const { return quantity; }

private:
    kinora::OrbitPanelSettings chosen() const;
    // The settings with one field's typed value put in.
    KNNumberField* numberField(const QString& tip,
                               std::function<void(kinora::OrbitPanelSettings&, double)> put);

    QComboBox* quantity;
    QComboBox* variable;
    KNNumberField* values;
    KNNumberField* seed[3];
    KNNumberField* transient;
    KNNumberField* recorded;
    QLabel* progress;
    KNScatterView* view;
    kinora::OrbitPanelSettings shown;
    std::function<void(const kinora::OrbitPanelSettings&)> changed;
    std::function<std::optional<QString>(const kinora::OrbitPanelSettings&)> check;
    std::function<void(const QString&)> refused;
};
