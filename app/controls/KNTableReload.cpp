#include "KNTableReload.h"

#include "KNTableRowLoader.h"

void reloadData(QTableWidget* table, KNTableViewDataSource& source) {
    KNTableRowLoader::of(table)->reloadData(source);
}

void reloadDataForRowIndexes(QTableWidget* table, KNTableViewDataSource& source,
                             const std::vector<int>& rows, const std::vector<int>& columns) {
    KNTableRowLoader::of(table)->reloadRows(source, rows, columns);
}
