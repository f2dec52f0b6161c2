#include "KNDocumentActions.h"

#include "KNImageExporter.h"
#include "KNPlotView.h"
#include "KNPlotWindow.h"
#include "KNPlotWindowController.h"
#include "KNSessionDocument.h"
#include "KNSessionWriter.h"
#include "KNTrajectoryExporter.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QStringList>
#include <utility>

KNDocumentActions::KNDocumentActions(std::weak_ptr<KNPlotWindowController> controller,
                                     std::shared_ptr<KNAlertPresenter> alerts,
                                     KNRecentDocuments recentDocuments)
    : controller(std::move(controller)), alerts(std::move(alerts)),
      recentDocuments(std::move(recentDocuments)) {}

QString KNDocumentActions::chooseSaveFile(const QString& title, const QString& suffix,
                                          const QString& filter) {
    const auto window = controller.lock();
    if (!window) {
        return {};
    }
    const QString baseName = window->title()
                                 ? QFileInfo(QString::fromStdString(*window->title())).baseName()
                                 : QStringLiteral("Lorenz");
    QString path = QFileDialog::getSaveFileName(window->window(), title,
                                                baseName + QLatin1Char('.') + suffix, filter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
        path += QLatin1Char('.') + suffix;
    }
    return path;
}

void KNDocumentActions::chooseSessionFile() {
    const QString path = chooseSaveFile(QStringLiteral("Save Session"), QStringLiteral("kinora"),
                                        QStringLiteral("Kinora sessions (*.kinora)"));
    if (!path.isEmpty()) {
        saveSession(path);
    }
}

void KNDocumentActions::chooseImageFile() {
    const auto window = controller.lock();
    if (!window) {
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
    const std::optional<KNSession> session = KNSessionDocument::capture(*window, &error);
    if (!session || !KNSessionWriter::writeFile(path.toStdString(), *session, &error)) {
        alerts->presentError(error, QFileInfo(path).fileName().toStdString());
        return false;
    }
    recentDocuments.noteNewRecentDocument(path.toStdString());
    return true;
}

bool KNDocumentActions::exportImage(const QString& path, int scale) {
    const auto window = controller.lock();
    if (!window) {
        return false;
    }
    window->completeRecomputation();
    KNPlotView* view = window->plotView();
    const int width = static_cast<int>(view->width() * view->devicePixelRatio()) * scale;
    const int height = static_cast<int>(view->height() * view->devicePixelRatio()) * scale;
    KNError error;
    if (!KNImageExporter::write(*view, width, height, path.toStdString(), &error)) {
        alerts->presentError(error, QFileInfo(path).fileName().toStdString());
        return false;
    }
    return true;
}

bool KNDocumentActions::exportTrajectories(const QString& path) {
    const auto window = controller.lock();
    if (!window) {
        return false;
    }
    KNError error;
    if (!KNTrajectoryExporter::write(*window, path.toStdString(), &error)) {
        alerts->presentError(error, QFileInfo(path).fileName().toStdString());
        return false;
    }
    return true;
}
