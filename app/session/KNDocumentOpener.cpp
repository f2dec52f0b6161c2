#include "KNDocumentOpener.h"

#include "KNScriptFile.h"
#include "KNSessionDocument.h"
#include "KNSessionReader.h"

#include <utility>

bool KNDocumentOpener::isSession(const QUrl& url) {
    return url.fileName().endsWith(QLatin1String(".kinora"), Qt::CaseInsensitive);
}

std::optional<KNOpenedDocument> KNDocumentOpener::open(const QUrl& url, KNAlertPresenter& alerts) {
    std::optional<KNOpenedDocument> document =
        isSession(url) && url.isLocalFile() ? openSession(url, alerts) : openScript(url, alerts);
    if (document && url.isLocalFile()) {
        document->path = url.toLocalFile().toStdString();
    }
    return document;
}

std::optional<KNOpenedDocument> KNDocumentOpener::openSession(const QUrl& url,
                                                              KNAlertPresenter& alerts) {
    const std::string name = url.fileName().toStdString();
    KNError error;
    std::optional<KNSession> session =
        KNSessionReader::readFile(url.toLocalFile().toStdString(), &error);
    if (!session) {
        alerts.presentError(error, name);
        return std::nullopt;
    }
    std::unique_ptr<kinora::Exploration> exploration =
        KNSessionDocument::open(*session, name, alerts);
    if (!exploration) {
        return std::nullopt;
    }
    const bool isScript = session->system.kind == KNSystemSource::Kind::script;
    std::string title = isScript ? session->system.name : std::string();
    const kinora::AnalysisPanelSettings analysis = session->analysis;
    return KNOpenedDocument{
        std::move(exploration), std::move(title), std::move(session), {}, analysis};
}

std::optional<KNOpenedDocument> KNDocumentOpener::openScript(const QUrl& url,
                                                             KNAlertPresenter& alerts) {
    const std::string name = url.fileName().toStdString();
    // A file URL naming another computer is not a local file either.
    if (!url.isLocalFile() || !url.host().isEmpty()) {
        alerts.presentError({"KNJavascriptErrorDomain", 0,
                             "Cannot open \"" + url.toDisplayString().toStdString() +
                                 "\": only local files can be opened."},
                            name);
        return std::nullopt;
    }
    KNError error;
    const std::optional<std::string> source =
        readScriptFile(url.toLocalFile().toStdString(), &error);
    if (!source) {
        alerts.presentError(error, name);
        return std::nullopt;
    }
    return openScriptText(*source, alerts, name);
}

std::optional<KNOpenedDocument> KNDocumentOpener::openScriptText(const std::string& source,
                                                                 KNAlertPresenter& alerts,
                                                                 const std::string& title) {
    KNError error;
    std::unique_ptr<kinora::Exploration> exploration =
        kinora::Exploration::withScript(source, &error);
    if (!exploration) {
        alerts.presentError(error, title);
        return std::nullopt;
    }
    const kinora::InitialDeclaration declaration = exploration->ownDeclaration();
    exploration->start(declaration);
    exploration->setSystemSource(KNSystemSource{KNSystemSource::Kind::script, title, source});
    kinora::AnalysisPanelSettings analysis;
    if (declaration.section) {
        const kinora::InitialDeclaration::SectionPlane& plane = *declaration.section;
        analysis.section = kinora::PoincareSection(
            plane.axis, plane.value, static_cast<kinora::CrossingDirection>(plane.direction));
        analysis.sectionShown = true;
    }
    return KNOpenedDocument{std::move(exploration), title, std::nullopt, std::nullopt, analysis};
}
