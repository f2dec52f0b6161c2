#pragma once

#include "KNAlertPresenter.h"
#include "KNExampleCatalog.h"
#include "KNRecentDocuments.h"
#include "KNWindowCascade.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <memory>
#include <vector>

class KNDocumentActions;
class KNPlotWindow;
class KNPlotWindowController;
class QFileDialog;

// The application's delegate: opens the Lorenz window at launch and one window per script file,
// and keeps each window's controller alive until the window closes.
class LXAppDelegate : public QObject {
public:
    LXAppDelegate(std::shared_ptr<KNAlertPresenter> alerts, KNRecentDocuments recentDocuments);
    ~LXAppDelegate() override;

    // Opens the built-in Lorenz system (rho, sigma, beta).
    void applicationDidFinishLaunching();
    // Opens one window per path or file:// URI, in order; a file that fails does not stop the
    // rest. Each file that opens is noted in the recent files, as the desktop expects of files
    // it hands over.
    void applicationOpenFiles(const QStringList& paths);
    // Shows the open panel for the readable file types without blocking; every file of those
    // types confirmed there is opened and then noted in the recent files, whether or not it
    // loads; files of other types are refused in one alert. While a panel is open, this raises it
    // instead of opening a second one.
    QFileDialog* openFile();
    // Opens a window on the script or session at url and returns true; on failure an alert has
    // named the problem.
    bool createPlotWindowWithURL(const QUrl& url);
    // Opens a file chosen in File ▸ Open Recent and refreshes its entry in the recent files.
    void openRecentFile(const QString& path);
    // Drops the controller of window and stops listening to it.
    void plotWindowWillClose(KNPlotWindow* window);

    const std::vector<std::shared_ptr<KNPlotWindowController>>& windowControllers() const {
        return _windowControllers;
    }

private:
    void addWindowController(const std::shared_ptr<KNPlotWindowController>& controller);
    void openPanelDidEnd(QFileDialog* panel, int result);
    // One item per shipped example, each opening its script in a new window.
    void fillExamplesMenu(KNPlotWindow* window);

    // Exists from construction, so files handed over at any time have a list to go to.
    std::vector<std::shared_ptr<KNPlotWindowController>> _windowControllers;
    struct Registration {
        KNPlotWindow* window;
        std::vector<QMetaObject::Connection> connections;
        std::shared_ptr<KNDocumentActions> documentActions;
    };
    std::vector<Registration> registrations;
    std::shared_ptr<KNAlertPresenter> alerts;
    KNRecentDocuments recentDocuments;
    QPointer<QFileDialog> openPanel;
    std::vector<KNExample> examples;
    KNWindowCascade cascade;
};
