#pragma once

#include <QObject>
#include <memory>
#include <vector>

class KNTableViewDataSource;
class QTableWidget;

// Fills a table's cell views from its data source only for the rows in view, and for the rows
// that scroll or are resized into view later: a table of a thousand rows then builds a few
// views, not a thousand. One row beyond each edge of the view is filled too, so the keyboard can
// always step into the next row. A row that has views keeps them; one that went stale out of
// view is refilled when it comes back. A child of the table, one per table.
class KNTableRowLoader : public QObject {
    Q_OBJECT

public:
    // The table's loader, made the first time it is asked for.
    static KNTableRowLoader* of(QTableWidget* table);

    // Asks source for the row count, marks every row stale and fills the rows in view. The source
    // is asked again as rows come into view, until it is gone or another source reloads.
    void reloadData(KNTableViewDataSource& source);
    // Refills the given cells of the rows that have views (a stale row whole); a row without
    // views is filled when it comes into view. Indices outside the table are skipped.
    void reloadRows(KNTableViewDataSource& source, const std::vector<int>& rows,
                    const std::vector<int>& columns);

signals:
    // Rows were filled; some of their views may be new.
    void rowsLoaded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class RowState { noViews, stale, current };

    explicit KNTableRowLoader(QTableWidget* table);

    void attach(KNTableViewDataSource& source);
    bool sourceIsGone() const;
    void showRowsInView();
    // Whether any row was filled.
    bool loadRowsInView();
    void loadRow(int row);
    void reloadCell(int row, int column);

    QTableWidget* table;
    KNTableViewDataSource* source = nullptr;
    // Expires with the source: the table may outlive the object that fills it.
    std::weak_ptr<const void> sourceLifetime;
    std::vector<RowState> rowStates;
    // While rows are filled: the scrolling and resizing that filling causes asks for no row, the
    // rows in view are looked at again once the filling is done.
    bool loading = false;
};
