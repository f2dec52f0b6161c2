#pragma once

#include "KNAlertPresenter.h"
#include "KNOpenedDocument.h"

#include <QUrl>
#include <memory>
#include <optional>
#include <string>

// Opens what a user can open, a session (extension "kinora") or a system script (anything
// else), into an exploration; nothing here knows of windows.
class KNDocumentOpener {
public:
    static bool isSession(const QUrl& url);

    // The document at url, or nothing once an alert has named the problem.
    static std::optional<KNOpenedDocument> open(const QUrl& url, KNAlertPresenter& alerts);
    // A session file, titled with its script's file name.
    static std::optional<KNOpenedDocument> openSession(const QUrl& url, KNAlertPresenter& alerts);
    // A script file, titled with the file's name.
    static std::optional<KNOpenedDocument> openScript(const QUrl& url, KNAlertPresenter& alerts);
    // A script's text, started as it declares; on failure the alert is titled title.
    static std::optional<KNOpenedDocument>
    openScriptText(const std::string& source, KNAlertPresenter& alerts, const std::string& title);
};
