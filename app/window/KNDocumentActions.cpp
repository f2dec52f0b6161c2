#include "KNDocumentActions.h"

#include "KNAnalysisPanels.h"
#include "KNDocumentOpener.h"
#include "KNFindingsControls.h"
#include "KNImageExportJob.h"
#include "KNParameterSpaceView.h"
#include "KNPlotView.h"
#include "KNPlotWindow.h"
#include "KNPlotWindowController.h"
#include "KNSessionDocument.h"
#include "KNSessionWriter.h"
#include "KNStatusReporter.h"
#include "KNTrajectoryExportJob.h"
#include "MessageText.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QStringList>
#include <utility>

KNDocumentActions::KNDocumentActions(std::weak_ptr<KNPlotWindowController> controller,
                                     std::shared_ptr<KNAlertPresenter> alerts,
                                     KNRecentDocuments recentDocuments)
    : controller(std::move(controller)), alerts(std::move(alerts)),
      recentDocuments(std::move(recentDocuments)) {
    const auto window = this->controller.lock();
    if (window && window->documentPath()) {
        const QString opened = QString::fromStdString(*window->documentPath());
        if (KNDocumentOpener::isSession(QUrl::fromLocalFile(opened))) {
            takeSessionFile(opened);
        }
    }
}

QString KNDocumentActions::chooseSaveFile(const QString& title, const QString& suffix,
                                          const QString& filter, const QString& proposed) {
    const auto window = controller.lock();
    if (!window) {
        return {};
    }
    const QString baseName = window->title()
                                 ? QFileInfo(QString::fromStdString(*window->title())).baseName()
                                 : QStringLiteral("Lorenz");
    QString path = QFileDialog::getSaveFileName(
        window->window(), title,
        proposed.isEmpty() ? baseName + QLatin1Char('.') + suffix : proposed, filter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
        path += QLatin1Char('.') + suffix;
    }
    return path;
}

void KNDocumentActions::saveSessionInPlace() {
    if (sessionPath) {
        saveSession(*sessionPath);
    } else {
        chooseSessionFile();
    }
}

void KNDocumentActions::chooseSessionFile() {
    const QString path = chooseSaveFile(QStringLiteral("Save Session As"), QStringLiteral("kinora"),
                                        QStringLiteral("Kinora sessions (*.kinora)"),
                                        sessionPath.value_or(QString()));
    if (!path.isEmpty()) {
        saveSession(path);
    }
}

void KNDocumentActions::takeSessionFile(const QString& path) {
    sessionPath = QFileInfo(path).absoluteFilePath();
    if (const auto window = controller.lock()) {
        window->window()->setWindowTitle(QFileInfo(path).fileName());
    }
}

void KNDocumentActions::chooseImageFile() {
    const auto window = controller.lock();
    if (!window || refuseWhileExporting(*window)) {
        return;
    }
    KNPlotView* view = window->plotView();
    const int width = static_cast<int>(view->width() * view->devicePixelRatio());
    const int height = static_cast<int>(view->height() * view->devicePixelRatio());
    QStringList sizes;
    for (int scale : {1, 2, 4}) {
        sizes << QStringLiteral("%1 × %2 pixels (%3× the view)")
                     .arg(width * scale)
                     .arg(height * scale)
                     .arg(scale);
    }
    bool chosen = false;
    const QString size =
        QInputDialog::getItem(window->window(), QStringLiteral("Export Image"),
                              QStringLiteral("Size of the picture:"), sizes, 0, false, &chosen);
    if (!chosen) {
        return;
    }
    const QString path = chooseSaveFile(QStringLiteral("Export Image"), QStringLiteral("png"),
                                        QStringLiteral("PNG pictures (*.png)"));
    if (!path.isEmpty()) {
        exportImage(path, 1 << sizes.indexOf(size));
    }
}

void KNDocumentActions::chooseTrajectoriesFile() {
    if (const auto window = controller.lock(); !window || refuseWhileExporting(*window)) {
        return;
    }
    const QString path =
        chooseSaveFile(QStringLiteral("Export Trajectories"), QStringLiteral("csv"),
                       QStringLiteral("Comma-separated values (*.csv)"));
    if (!path.isEmpty()) {
        exportTrajectories(path);
    }
}

bool KNDocumentActions::saveSession(const QString& path) {
    const auto window = controller.lock();
    if (!window) {
        return false;
    }
    KNError error;
    const std::optional<KNSession> session = sessionOf(*window, &error);
    if (!session || !KNSessionWriter::writeFile(path.toStdString(), *session, &error)) {
        alerts->presentError(error, QFileInfo(path).fileName().toStdString());
        return false;
    }
    recentDocuments.noteNewRecentDocument(path.toStdString());
    takeSessionFile(path);
    window->statusReporter()->reportNotice(QString::fromStdString(
        "Saved the session to \"" + kinora::boundedValue(sessionPath->toStdString()) + "\"."));
    return true;
}

std::optional<KNSession> KNDocumentActions::sessionOf(KNPlotWindowController& window,
                                                      KNError* error) {
    std::optional<KNSession> session = KNSessionDocument::capture(window.exploration(), error);
    if (session) {
        session->windowWidth = window.window()->width();
        session->windowHeight = window.window()->height();
        session->timeSeriesShown = window.window()->timeSeriesShown();
        session->plotCamera = window.plotView()->viewCamera();
        session->parameterCamera = window.parameterView()->viewCamera();
        session->analysis = window.analysisPanels()->settings();
        session->findingsPanelShown = window.findings()->isPanelShown();
        session->pathColours =
            window.findings()->pathColouring() == KNPlotView::PathColouring::byExponent
                ? KNSession::PathColours::byExponent
                : KNSession::PathColours::bySweep;
    }
    return session;
}

bool KNDocumentActions::refuseWhileExporting(KNPlotWindowController& window) {
    const std::string running = window.exportRunner().runningFileName();
    if (running.empty()) {
        return false;
    }
    window.statusReporter()->reportRefusal(QString::fromStdString(
        "The export to " + running + " is still running; press Escape to cancel it."));
    return true;
}

bool KNDocumentActions::refuseOverwritingDocument(KNPlotWindowController& window,
                                                  const QString& path) {
    const std::optional<std::string>& document = window.documentPath();
    if (!document || !KNOutputFile::isSameFile(path.toStdString(), *document)) {
        return false;
    }
    alerts->presentError({"KNExportErrorDomain", 0,
                          "Cannot export to " + quotedFileName(path.toStdString()) +
                              ": it is the file this window was opened from, which the export "
                              "would destroy. Choose another file."},
                         QFileInfo(path).fileName().toStdString());
    return true;
}

void KNDocumentActions::run(KNPlotWindowController& window, std::unique_ptr<KNExportJob> job,
                            const QString& path) {
    window.exportRunner().start(std::move(job), window.statusReporter(),
                                [alerts = alerts, name = QFileInfo(path).fileName().toStdString()](
                                    const KNError& error) { alerts->presentError(error, name); });
}

bool KNDocumentActions::exportImage(const QString& path, int scale) {
    const auto window = controller.lock();
    if (!window || refuseWhileExporting(*window)) {
        return false;
    }
    KNPlotView* view = window->plotView();
    const int width = static_cast<int>(view->width() * view->devicePixelRatio()) * scale;
    const int height = static_cast<int>(view->height() * view->devicePixelRatio()) * scale;
    if (refuseOverwritingDocument(*window, path)) {
        return false;
    }
    KNError error;
    // The job lives in the window's runner, so the window outlives it.
    auto job = KNImageExportJob::open(
        view->plotPicture(), QSize(width, height), view->devicePixelRatio() * scale,
        path.toStdString(), KNOutputFile::Streams::refused,
        [controller = window.get()] { return !controller->isRecomputing(); },
        [view] { return view->pictureRevision(); }, &error);
    if (!job) {
        alerts->presentError(error, QFileInfo(path).fileName().toStdString());
        return false;
    }
    run(*window, std::move(job), path);
    return true;
}

bool KNDocumentActions::exportTrajectories(const QString& path) {
    const auto window = controller.lock();
    if (!window || refuseWhileExporting(*window)) {
        return false;
    }
    if (refuseOverwritingDocument(*window, path)) {
        return false;
    }
    KNError error;
    auto job = KNTrajectoryExportJob::open(window->trajectorySnapshot(), path.toStdString(),
                                           KNOutputFile::Streams::refused, &error);
    if (!job) {
        alerts->presentError(error, QFileInfo(path).fileName().toStdString());
        return false;
    }
    run(*window, std::move(job), path);
    return true;
}
