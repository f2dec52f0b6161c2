#include "KNSeedSelectionDisplay.h"

#include "KNPlotView.h"
#include "KNSeedPositionPanel.h"
#include "KNTimeSeriesPresenter.h"
#include "Seed.h"

#include <QToolButton>

KNSeedSelectionDisplay::KNSeedSelectionDisplay(KNPlotView& plotView, QToolButton& removeButton,
                                               KNSeedPositionPanel& positionPanel,
                                               KNTimeSeriesPresenter& timeSeries)
    : plotView(plotView), removeButton(removeButton), positionPanel(positionPanel),
      timeSeries(timeSeries) {}

void KNSeedSelectionDisplay::showSelection() {
    removeButton.setEnabled(true);
    if (const Seed* seed = plotView.selectedSeed()) {
        positionPanel.showPosition(seed->transform.position);
    }
    timeSeries.showSelectedSeed();
}

void KNSeedSelectionDisplay::showNoSelection() {
    removeButton.setEnabled(false);
    // The view may still name the seed it is about to let go.
    positionPanel.showPosition(std::nullopt);
    timeSeries.showNoSeed();
}

void KNSeedSelectionDisplay::seedDidMove(const Seed& seed) {
    if (&seed == plotView.selectedSeed()) {
        positionPanel.showPosition(seed.transform.position);
    }
}
