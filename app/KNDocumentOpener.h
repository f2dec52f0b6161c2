#pragma once

#include "KNAlertPresenter.h"

#include <QUrl>
#include <memory>

class KNPlotWindowController;

// Opens what a user can open: a session (extension "kinora") or a system script (anything else).
class KNDocumentOpener {
public:
    static bool isSession(const QUrl& url);

    // A controller for the document at url, or null once an alert has named the problem. A
    // session's window is loaded (not shown) with its cameras in place.
    static std::shared_ptr<KNPlotWindowController> open(const QUrl& url,
                                                        std::shared_ptr<KNAlertPresenter> alerts);

private:
    static std::shared_ptr<KNPlotWindowController>
    openController(const QUrl& url, std::shared_ptr<KNAlertPresenter> alerts);
};
