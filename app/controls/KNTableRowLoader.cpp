#include "KNTableRowLoader.h"

#include "KNTableViewDataSource.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>
#include <algorithm>
#include <utility>

KNTableRowLoader* KNTableRowLoader::of(QTableWidget* table) {
    if (auto* loader = table->findChild<KNTableRowLoader*>(QString(), Qt::FindDirectChildrenOnly)) {
        return loader;
    }
    return new KNTableRowLoader(table);
}

KNTableRowLoader::KNTableRowLoader(QTableWidget* table) : QObject(table), table(table) {
    connect(table->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &KNTableRowLoader::showRowsInView);
    table->viewport()->installEventFilter(this);
}

void KNTableRowLoader::reloadData(KNTableViewDataSource& newSource) {
    attach(newSource);
    const int count = std::max(0, source->numberOfRowsInTableView(table));
    rowStates.resize(static_cast<std::size_t>(count), RowState::noViews);
    std::replace(rowStates.begin(), rowStates.end(), RowState::current, RowState::stale);
    bool loaded = false;
    if (count > 0 && table->rowCount() == 0) {
        // The rows not filled yet take the first one's height, known before they are made: the
        // scroll bar is right at once, and no row is resized one by one.
        table->setRowCount(1);
        loadRow(0);
        table->verticalHeader()->setDefaultSectionSize(table->rowHeight(0));
        loaded = true;
    }
    table->setRowCount(count);
    if (loadRowsInView() || loaded) {
        emit rowsLoaded();
    }
}

void KNTableRowLoader::reloadRows(KNTableViewDataSource& newSource, const std::vector<int>& rows,
                                  const std::vector<int>& columns) {
    attach(newSource);
    bool loaded = false;
    for (int row : rows) {
        if (row < 0 ||
            row >= std::min<int>(table->rowCount(), static_cast<int>(rowStates.size()))) {
            continue;
        }
        switch (rowStates[static_cast<std::size_t>(row)]) {
        case RowState::noViews:
            break;
        case RowState::stale:
            loadRow(row);
            loaded = true;
            break;
        case RowState::current:
            for (int column : columns) {
                if (column >= 0 && column < table->columnCount()) {
                    reloadCell(row, column);
                }
            }
            break;
        }
    }
    if (loadRowsInView() || loaded) {
        emit rowsLoaded();
    }
}

bool KNTableRowLoader::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        showRowsInView();
    }
    return QObject::eventFilter(watched, event);
}

void KNTableRowLoader::attach(KNTableViewDataSource& newSource) {
    source = &newSource;
    sourceLifetime = newSource.lifetime();
}

bool KNTableRowLoader::sourceIsGone() const {
    return sourceLifetime.expired();
}

void KNTableRowLoader::showRowsInView() {
    if (loadRowsInView()) {
        emit rowsLoaded();
    }
}

bool KNTableRowLoader::loadRowsInView() {
    if (loading || sourceIsGone()) {
        return false;
    }
    loading = true;
    bool loadedAny = false;
    // A filled row may be taller than the others, which changes what is in view: go on until
    // every row in view is filled.
    for (bool loaded = true; loaded;) {
        loaded = false;
        const int count = std::min<int>(table->rowCount(), static_cast<int>(rowStates.size()));
        if (count == 0) {
            break;
        }
        const int top = table->rowAt(0);
        const int bottom = table->rowAt(std::max(0, table->viewport()->height() - 1));
        const int first = std::max(0, top - 1);
        const int last = std::min(count - 1, (bottom < 0 ? count - 1 : bottom) + 1);
        for (int row = first; row <= last; ++row) {
            if (rowStates[static_cast<std::size_t>(row)] != RowState::current) {
                loadRow(row);
                loaded = true;
            }
        }
        loadedAny = loadedAny || loaded;
    }
    loading = false;
    return loadedAny;
}

void KNTableRowLoader::loadRow(int row) {
    // A row half filled is not asked for again by the scrolling or resizing its filling causes.
    const bool wasLoading = std::exchange(loading, true);
    for (int column = 0; column < table->columnCount(); ++column) {
        reloadCell(row, column);
    }
    rowStates[static_cast<std::size_t>(row)] = RowState::current;
    loading = wasLoading;
}

void KNTableRowLoader::reloadCell(int row, int column) {
    QWidget* view = source->tableView(table, column, row);
    // Setting the view a cell already holds would delete it; a refilled view keeps its height.
    if (table->cellWidget(row, column) != view) {
        table->setCellWidget(row, column, view);
        table->setRowHeight(row, view->sizeHint().height());
    }
}
