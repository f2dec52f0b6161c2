#include "KNParameterTableNavigation.h"

#include "KNParameterField.h"
#include "KNParameterTableView.h"
#include "KNTableRowLoader.h"

#include <QApplication>
#include <QTableWidget>

KNParameterTableNavigation::KNParameterTableNavigation(QTableWidget* table, QObject* parent)
    : QObject(parent), table(table) {
    // Otherwise the table takes Tab to move its current cell and the focus stays put.
    table->setTabKeyNavigation(false);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { showRowOf(now); });
    // Rows are made as they come into view; a row's neighbours are made with it, so Tab always
    // finds the next field chained.
    connect(KNTableRowLoader::of(table), &KNTableRowLoader::rowsLoaded, this,
            &KNParameterTableNavigation::chainFields);
}

void KNParameterTableNavigation::chainFields() {
    QWidget* previous = nullptr;
    for (int row = 0; row < table->rowCount(); ++row) {
        auto* view = qobject_cast<KNParameterTableView*>(table->cellWidget(row, 0));
        if (view == nullptr) {
            continue;
        }
        for (KNParameterField* field : {view->minField(), view->maxField()}) {
            if (previous != nullptr) {
                QWidget::setTabOrder(previous, field);
            }
            previous = field;
        }
    }
}

void KNParameterTableNavigation::showRowOf(QWidget* focused) {
    if (focused == nullptr || !table->viewport()->isAncestorOf(focused)) {
        return;
    }
    const QPoint inViewport = focused->mapTo(table->viewport(), QPoint(0, 0));
    const int row = table->rowAt(inViewport.y());
    if (row >= 0) {
        table->scrollTo(table->model()->index(row, 0));
    }
}
