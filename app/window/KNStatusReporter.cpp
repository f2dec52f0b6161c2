#include "KNStatusReporter.h"

#include "MessageText.h"

#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <algorithm>
#include <utility>

namespace {

// However long what it quotes, a message stays one a status bar can lay out.
QString bounded(const QString& text) {
    return QString::fromStdString(kinora::boundedMessage(text.toStdString()));
}

} // namespace

KNStatusReporter::KNStatusReporter(QStatusBar* bar, QObject* parent)
    : QObject(parent), bar(bar), outcome(new QLabel(bar)), progress(new QProgressBar(bar)),
      exportProgress(new QProgressBar(bar)) {
    // Script messages may hold angle brackets; they are never markup.
    outcome->setTextFormat(Qt::PlainText);
    // A long message is clipped (its tooltip holds it whole) rather than widening the window.
    outcome->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar->addWidget(outcome, 1);
    progress->setMaximumWidth(160);
    progress->setTextVisible(true);
    progress->hide();
    bar->addPermanentWidget(progress);
    exportProgress->setMaximumWidth(200);
    exportProgress->setRange(0, 1000);
    exportProgress->setFormat(tr("Exporting %p%"));
    exportProgress->hide();
    bar->addPermanentWidget(exportProgress);
}

void KNStatusReporter::reportRefusal(const QString& reason) {
    shownRefusal = bounded(reason);
    bar->showMessage(shownRefusal, refusalMilliseconds);
    showsHover = false;
}

void KNStatusReporter::withdrawRefusal() {
    if (!shownRefusal.isEmpty() && bar->currentMessage() == shownRefusal) {
        bar->clearMessage();
    }
    shownRefusal.clear();
}

void KNStatusReporter::reportRecomputation(const QString& text) {
    outcome->setText(bounded(text));
    outcome->setToolTip(outcome->text());
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

void KNStatusReporter::reportExportProgress(double part) {
    exportProgress->setValue(static_cast<int>(std::clamp(part, 0.0, 1.0) * 1000.0));
    exportProgress->show();
}

void KNStatusReporter::endExportProgress() {
    exportProgress->hide();
}

void KNStatusReporter::reportNotice(const QString& notice) {
    bar->showMessage(bounded(notice), refusalMilliseconds);
    showsHover = false;
}

void KNStatusReporter::reportHover(const QString& text) {
    if (!text.isEmpty()) {
        bar->showMessage(bounded(text));
        showsHover = true;
    } else if (std::exchange(showsHover, false)) {
        bar->clearMessage();
    }
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

bool KNStatusReporter::isShowingExportProgress() const {
    return !exportProgress->isHidden();
}
