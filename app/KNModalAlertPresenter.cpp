#include "KNModalAlertPresenter.h"

#include <QApplication>
#include <QMessageBox>

void KNModalAlertPresenter::presentError(const KNError& error, const std::string& documentName) {
    QMessageBox alert(QApplication::activeWindow());
    alert.setIcon(QMessageBox::Warning);
    alert.setWindowTitle(documentName.empty() ? QApplication::applicationDisplayName()
                                              : QString::fromStdString(documentName));
    // Script messages may hold angle brackets; never let them be read as markup.
    alert.setTextFormat(Qt::PlainText);
    alert.setText(QString::fromStdString(error.failureReason));
    alert.setStandardButtons(QMessageBox::Ok);
    alert.setWindowModality(Qt::ApplicationModal);
    alert.exec();
}
