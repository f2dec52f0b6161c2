#pragma once

#include <vector>

class KNTableViewDataSource;
class QTableWidget;

// Asks source for the row count and then for every cell view of table; a row takes the height
// of a view new to it.
void reloadData(QTableWidget* table, KNTableViewDataSource& source);
// The same for the cells of the given rows and columns only; indices outside the table are
// skipped.
void reloadDataForRowIndexes(QTableWidget* table, KNTableViewDataSource& source,
                             const std::vector<int>& rows, const std::vector<int>& columns);
