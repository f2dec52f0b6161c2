#pragma once

class KNPlotView;
class KNSeedPositionPanel;
class KNTimeSeriesPresenter;
class QToolButton;
class Seed;

// What shows the plot view's selected seed: the Remove button is enabled only while there is
// one, the position panel shows where it stands and the time-series panel its paths.
class KNSeedSelectionDisplay {
public:
    // All must outlive this.
    KNSeedSelectionDisplay(KNPlotView& plotView, QToolButton& removeButton,
                           KNSeedPositionPanel& positionPanel, KNTimeSeriesPresenter& timeSeries);

    void showSelection();
    void showNoSelection();
    // The position panel follows seed when it is the selected one.
    void seedDidMove(const Seed& seed);

private:
    KNPlotView& plotView;
    QToolButton& removeButton;
    KNSeedPositionPanel& positionPanel;
    KNTimeSeriesPresenter& timeSeries;
};
