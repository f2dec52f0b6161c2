#include "KNDocumentOpener.h"

#include "KNPlotWindowController.h"
#include "KNSessionDocument.h"
#include "KNSessionReader.h"

#include <utility>

bool KNDocumentOpener::isSession(const QUrl& url) {
    return url.fileName().endsWith(QLatin1String(".kinora"), Qt::CaseInsensitive);
}

std::shared_ptr<KNPlotWindowController>
KNDocumentOpener::open(const QUrl& url, std::shared_ptr<KNAlertPresenter> alerts) {
    std::shared_ptr<KNPlotWindowController> controller = openController(url, std::move(alerts));
    if (controller && url.isLocalFile()) {
        controller->setDocumentPath(url.toLocalFile().toStdString());
    }
    return controller;
}

std::shared_ptr<KNPlotWindowController>
KNDocumentOpener::openController(const QUrl& url, std::shared_ptr<KNAlertPresenter> alerts) {
    if (!isSession(url) || !url.isLocalFile()) {
        return KNPlotWindowController::initWithContentsOfURL(url, std::move(alerts));
    }
    const std::string name = url.fileName().toStdString();
    KNError error;
    const std::optional<KNSession> session =
        KNSessionReader::readFile(url.toLocalFile().toStdString(), &error);
    if (!session) {
        alerts->presentError(error, name);
        return nullptr;
    }
    return KNSessionDocument::restore(*session, name, std::move(alerts));
}
