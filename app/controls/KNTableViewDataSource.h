#pragma once

class QTableWidget;
class QWidget;

// What a table asks the object that fills it: how many rows, and the view of one cell. The
// table reloads through reloadData and reloadDataForRowIndexes, which ask these in turn.
class KNTableViewDataSource {
public:
    virtual ~KNTableViewDataSource() = default;

    virtual int numberOfRowsInTableView(QTableWidget* tableView) = 0;
    // The view for the cell, filled with the row's data. It may be the view the cell already
    // holds, refilled: a cell view is then never replaced while one of its controls is sending.
    virtual QWidget* tableView(QTableWidget* tableView, int column, int row) = 0;
};
