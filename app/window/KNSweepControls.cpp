#include "KNSweepControls.h"

#include "Exploration.h"
#include "KNAxisPopups.h"
#include "KNParameterRows.h"
#include "KNParameterSpaceView.h"
#include "KNParameterTableNavigation.h"
#include "KNSweepHandles.h"
#include "KNTableReload.h"

#include <utility>

KNSweepControls::KNSweepControls(const Widgets& widgets, kinora::Exploration& exploration,
                                 KNTableViewDataSource& dataSource,
                                 std::weak_ptr<KNParameterTableViewOwner> rowOwner,
                                 const std::function<void()>& mappingChosen, QObject* context)
    : widgets(widgets), exploration(exploration), dataSource(dataSource), context(context),
      popups(std::make_unique<KNAxisPopups>(widgets.popups, exploration.system().parameters,
                                            exploration.axisToParameterMapping(), mappingChosen,
                                            context)),
      handles(std::make_unique<KNSweepHandles>(*widgets.parameterView, exploration)),
      rows(std::make_unique<KNParameterRows>(std::move(rowOwner), widgets.status)) {}

KNSweepControls::~KNSweepControls() = default;

void KNSweepControls::showSweep() {
    reloadData(widgets.table, dataSource);
    handles->showAxisNames();
    // The rows stay for the window's life: one parameter list, refilled in place.
    (new KNParameterTableNavigation(widgets.table, context))->chainFields();
    handles->showSweep();
}

KNParameterTableView* KNSweepControls::showRow(QTableWidget* table, int column, int row) {
    return rows->showRow(table, column, row, exploration.system().parameter(row));
}

void KNSweepControls::showParameterSweep(int index) {
    handles->showParameterSweep(index);
    reloadDataForRowIndexes(widgets.table, dataSource, {index}, {0});
    widgets.parameterView->requestRedraw();
}

void KNSweepControls::takeMapping() {
    exploration.setAxisToParameterMapping(popups->mapping());
    handles->showAxisNames();
    widgets.parameterView->requestRedraw();
}

void KNSweepControls::takeHandles() {
    exploration.changeMappedParameters(handles->starts(), handles->ends());
    reloadData(widgets.table, dataSource);
}
