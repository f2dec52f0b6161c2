#include "KNParameterRows.h"

#include "KNNumberField.h"
#include "KNParameterField.h"
#include "KNParameterTableView.h"
#include "KNStatusReporter.h"

#include <QLabel>
#include <QTableWidget>

KNParameterRows::KNParameterRows(std::weak_ptr<KNParameterTableViewOwner> owner,
                                 KNStatusReporter* status)
    : owner(std::move(owner)), status(status) {}

KNParameterTableView* KNParameterRows::makeRowView(QTableWidget* table, int column, int row) {
    if (auto* reused = qobject_cast<KNParameterTableView*>(table->cellWidget(row, column))) {
        return reused;
    }
    auto* view = new KNParameterTableView(owner);
    for (KNNumberField* field : {view->minField(), view->maxField()}) {
        QObject::connect(field, &KNNumberField::valueRefused, status,
                         &KNStatusReporter::reportRefusal);
    }
    return view;
}

KNParameterTableView* KNParameterRows::showRow(QTableWidget* table, int column, int row,
                                               const kinora::Parameter& parameter) {
    KNParameterTableView* view = makeRowView(table, column, row);
    view->nameField()->setText(QString::fromStdString(parameter.name));
    // The fields keep the double and show it in float precision.
    view->minField()->setDoubleValue(parameter.min());
    view->maxField()->setDoubleValue(parameter.max());
    view->maxField()->setTag(row);
    view->minField()->setTag(row);
    return view;
}
