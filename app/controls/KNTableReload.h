#pragma once

#include <vector>

class KNTableViewDataSource;
class QTableWidget;

// Asks source for the row count and then for the cell views of the rows in view; the other rows
// are asked for as they come into view (KNTableRowLoader). A row takes the height of a view new
// to it.
void reloadData(QTableWidget* table, KNTableViewDataSource& source);
// The same for the cells of the given rows and columns only, at once for a row that has views;
// indices outside the table are skipped.
void reloadDataForRowIndexes(QTableWidget* table, KNTableViewDataSource& source,
                             const std::vector<int>& rows, const std::vector<int>& columns);
