#pragma once

#include <memory>

class QTableWidget;
class QWidget;

// What a table asks the object that fills it: how many rows, and the view of one cell. The
// table reloads through reloadData and reloadDataForRowIndexes, which ask these in turn, and asks
// for the views of further rows as they come into view.
class KNTableViewDataSource {
public:
    virtual ~KNTableViewDataSource() = default;

    virtual int numberOfRowsInTableView(QTableWidget* tableView) = 0;
    // The view for the cell, filled with the row's data. It may be the view the cell already
    // holds, refilled: a cell view is then never replaced while one of its controls is sending.
    virtual QWidget* tableView(QTableWidget* tableView, int column, int row) = 0;

    // Expires when the source is destroyed, so a table that outlives it asks it nothing more.
    std::weak_ptr<const void> lifetime() const { return _lifetime; }

private:
    std::shared_ptr<const void> _lifetime = std::make_shared<char>();
};
