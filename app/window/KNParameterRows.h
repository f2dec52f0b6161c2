#pragma once

#include "Parameter.h"

#include <memory>

class KNParameterTableView;
class KNParameterTableViewOwner;
class KNStatusReporter;
class QTableWidget;

// The parameter table's row views, one per parameter row the table has filled, whose edits go
// to the owner and whose refused values are told in the status bar.
class KNParameterRows {
public:
    KNParameterRows(std::weak_ptr<KNParameterTableViewOwner> owner, KNStatusReporter* status);

    // The row view of the cell, reused when the cell has one, showing parameter, the name and
    // its start and end, with the row index as the tag of both fields.
    KNParameterTableView* showRow(QTableWidget* table, int column, int row,
                                  const kinora::Parameter& parameter);

private:
    KNParameterTableView* makeRowView(QTableWidget* table, int column, int row);

    std::weak_ptr<KNParameterTableViewOwner> owner;
    KNStatusReporter* status;
};
