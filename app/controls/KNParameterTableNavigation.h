#pragma once

#include <QObject>

class QTableWidget;
class QWidget;

// Moves the keyboard through the parameter table in reading order: Tab and Shift+Tab go from a
// row's start field to its end field and on to the next row's start field, and the table
// scrolls to show the row of the field that has the focus, which makes the rows around it. The
// table is not owned.
class KNParameterTableNavigation : public QObject {
    Q_OBJECT

public:
    explicit KNParameterTableNavigation(QTableWidget* table, QObject* parent = nullptr);

    // Chains the fields of the rows the table holds now, in row order; done again whenever the
    // table's loader has filled rows.
    void chainFields();

private:
    void showRowOf(QWidget* focused);

    QTableWidget* table;
};
