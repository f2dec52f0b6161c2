#include "KNTableReload.h"

#include "KNTableViewDataSource.h"

#include <QTableWidget>
#include <algorithm>

namespace {

void reloadCell(QTableWidget* table, KNTableViewDataSource& source, int row, int column) {
    QWidget* view = source.tableView(table, column, row);
    // Setting the view a cell already holds would delete it; a refilled view keeps its height.
    if (table->cellWidget(row, column) != view) {
        table->setCellWidget(row, column, view);
        table->setRowHeight(row, view->sizeHint().height());
    }
}

} // namespace

void reloadData(QTableWidget* table, KNTableViewDataSource& source) {
    table->setRowCount(std::max(0, source.numberOfRowsInTableView(table)));
    for (int row = 0; row < table->rowCount(); ++row) {
        for (int column = 0; column < table->columnCount(); ++column) {
            reloadCell(table, source, row, column);
        }
    }
}

void reloadDataForRowIndexes(QTableWidget* table, KNTableViewDataSource& source,
                             const std::vector<int>& rows, const std::vector<int>& columns) {
    for (int row : rows) {
        for (int column : columns) {
            if (row >= 0 && row < table->rowCount() && column >= 0 &&
                column < table->columnCount()) {
                reloadCell(table, source, row, column);
            }
        }
    }
}
