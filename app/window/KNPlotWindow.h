#pragma once

#include "ui_PlotWindow.h"

#include <QMainWindow>

class KNParameterSpaceView;
class KNPlotView;
class KNStatusReporter;
class KNTimeSeriesView;

// The window loaded from the interface file "PlotWindow": the plot view with the time-series
// panel below it and the parameter-space view in their placeholders, the parameter table, the axis
// pop-ups, the toolbar and the menu. Constructing it runs both views' awakeFromNib. Its status bar
// reports what the user should know without being interrupted.
class KNPlotWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit KNPlotWindow(QWidget* parent = nullptr);
    ~KNPlotWindow() override;

    KNPlotView* plotView() const { return _plotView; }
    KNParameterSpaceView* parameterView() const { return _parameterView; }
    KNTimeSeriesView* timeSeriesView() const { return _timeSeriesView; }
    // Whether the time-series panel is shown below the plot view (View ▸ Time Series).
    bool timeSeriesShown() const;
    void setTimeSeriesShown(bool shown);
    KNStatusReporter* statusReporter() const { return _statusReporter; }
    const Ui::PlotWindow& ui() const { return _ui; }

signals:
    // Sent from the close event, while the window still exists; the close always proceeds.
    void windowWillClose(KNPlotWindow* window);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Ui::PlotWindow _ui;
    // Owned by their window containers, which the placeholders own.
    KNPlotView* _plotView;
    KNParameterSpaceView* _parameterView;
    KNTimeSeriesView* _timeSeriesView;
    // A child of the window.
    KNStatusReporter* _statusReporter;
};
