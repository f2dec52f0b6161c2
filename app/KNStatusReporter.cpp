#include "KNStatusReporter.h"

#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

KNStatusReporter::KNStatusReporter(QStatusBar* bar, QObject* parent)
    : QObject(parent), bar(bar), outcome(new QLabel(bar)), progress(new QProgressBar(bar)) {
    // Script messages may hold angle brackets; they are never markup.
    outcome->setTextFormat(Qt::PlainText);
    // A long message is clipped (its tooltip holds it whole) rather than widening the window.
    outcome->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar->addWidget(outcome, 1);
    progress->setMaximumWidth(160);
    progress->setTextVisible(true);
    progress->hide();
    bar->addPermanentWidget(progress);
}

void KNStatusReporter::reportRefusal(const QString& reason) {
    bar->showMessage(reason, refusalMilliseconds);
}

void KNStatusReporter::reportRecomputation(const QString& text) {
    outcome->setText(text);
    outcome->setToolTip(text);
    if (!text.isEmpty()) {
        bar->clearMessage();
    }
}

void KNStatusReporter::reportProgress(int done, int total) {
    progress->setRange(0, total);
    progress->setValue(done);
    progress->show();
}

void KNStatusReporter::endProgress() {
    progress->hide();
}

void KNStatusReporter::clear() {
    bar->clearMessage();
    outcome->clear();
    outcome->setToolTip(QString());
}

QString KNStatusReporter::currentMessage() const {
    const QString refusal = bar->currentMessage();
    return refusal.isEmpty() ? outcome->text() : refusal;
}

bool KNStatusReporter::isShowingProgress() const {
    return !progress->isHidden();
}
