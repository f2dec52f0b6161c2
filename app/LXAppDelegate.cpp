#include "LXAppDelegate.h"

#include "KNBuiltinSystems.h"
#include "KNDocumentActions.h"
#include "KNDocumentOpener.h"
#include "KNFileArgument.h"
#include "KNOpenRecentMenu.h"
#include "KNPlotWindow.h"
#include "KNPlotWindowController.h"
#include "KNReadableFileTypes.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <algorithm>
#include <utility>

LXAppDelegate::LXAppDelegate(std::shared_ptr<KNAlertPresenter> alerts,
                             KNRecentDocuments recentDocuments)
    : alerts(std::move(alerts)), recentDocuments(std::move(recentDocuments)),
      examples(KNExampleCatalog::examplesIn(KNExampleCatalog::examplesDirectory())) {}

LXAppDelegate::~LXAppDelegate() {
    for (Registration& registration : registrations) {
        for (const QMetaObject::Connection& connection : registration.connections) {
            QObject::disconnect(connection);
        }
    }
    delete openPanel.data();
}

void LXAppDelegate::applicationDidFinishLaunching() {
    // Without a window there is no menu left on this platform, so the last close quits.
    QApplication::setQuitOnLastWindowClosed(true);
    const KNBuiltinSystem* lorenzSystem = findBuiltinSystem("lorenz");
    auto controller = KNPlotWindowController::initWithIntegrable(
        lorenzSystem->evolution, lorenzSystem->parameterNames, alerts);
    controller->setSystemSource({KNSystemSource::Kind::builtIn, lorenzSystem->name, {}});
    addWindowController(controller);
}

void LXAppDelegate::applicationOpenFiles(const QStringList& paths) {
    for (const QString& path : paths) {
        const QUrl url = fileArgumentURL(path);
        if (createPlotWindowWithURL(url)) {
            recentDocuments.noteNewRecentDocument(url.toLocalFile().toStdString());
        }
    }
}

QFileDialog* LXAppDelegate::openFile() {
    if (openPanel) {
        openPanel->raise();
        openPanel->activateWindow();
        return openPanel;
    }
    auto* panel = new QFileDialog(nullptr, QStringLiteral("Open System"));
    panel->setFileMode(QFileDialog::ExistingFiles);
    panel->setAcceptMode(QFileDialog::AcceptOpen);
    panel->setNameFilters(KNReadableFileTypes::nameFilters());
    connect(panel, &QFileDialog::finished, this,
            [this, panel](int result) { openPanelDidEnd(panel, result); });
    openPanel = panel;
    panel->show();
    return panel;
}

void LXAppDelegate::openPanelDidEnd(QFileDialog* panel, int result) {
    const QStringList files = panel->selectedFiles();
    panel->deleteLater();
    if (result != QDialog::Accepted) {
        return;
    }
    // A name typed by hand can be of any type.
    QStringList readable;
    QStringList refused;
    for (const QString& file : files) {
        (KNReadableFileTypes::reads(file) ? readable : refused).append(file);
    }
    if (!refused.isEmpty()) {
        alerts->presentError(KNReadableFileTypes::refusal(refused),
                             QFileInfo(refused.front()).fileName().toStdString());
    }
    for (const QString& file : readable) {
        createPlotWindowWithURL(QUrl::fromLocalFile(file));
        recentDocuments.noteNewRecentDocument(file.toStdString());
    }
}

void LXAppDelegate::openRecentFile(const QString& path) {
    createPlotWindowWithURL(QUrl::fromLocalFile(path));
    recentDocuments.noteNewRecentDocument(path.toStdString());
}

bool LXAppDelegate::createPlotWindowWithURL(const QUrl& url) {
    std::optional<KNOpenedDocument> document = KNDocumentOpener::open(url, *alerts);
    if (!document) {
        return false;
    }
    addWindowController(KNPlotWindowController::initWithDocument(std::move(*document), alerts));
    return true;
}

void LXAppDelegate::addWindowController(const std::shared_ptr<KNPlotWindowController>& controller) {
    cascade.place(controller->window());
    controller->showWindow();
    _windowControllers.push_back(controller);
    KNPlotWindow* window = controller->window();
    fillExamplesMenu(window);
    auto documentActions = std::make_shared<KNDocumentActions>(controller, alerts, recentDocuments);
    registrations.push_back(
        {window,
         {connect(window, &KNPlotWindow::windowWillClose, this,
                  [this](KNPlotWindow* closing) { plotWindowWillClose(closing); }),
          connect(window->ui().openFileAction, &QAction::triggered, this, [this] { openFile(); }),
          connect(window->ui().saveSessionAction, &QAction::triggered, this,
                  [documentActions] { documentActions->saveSessionInPlace(); }),
          connect(window->ui().saveSessionAsAction, &QAction::triggered, this,
                  [documentActions] { documentActions->chooseSessionFile(); }),
          connect(window->ui().exportImageAction, &QAction::triggered, this,
                  [documentActions] { documentActions->chooseImageFile(); }),
          connect(window->ui().exportTrajectoriesAction, &QAction::triggered, this,
                  [documentActions] { documentActions->chooseTrajectoriesFile(); })},
         documentActions});
    new KNOpenRecentMenu(window->ui().openRecentMenu, recentDocuments,
                         [delegate = QPointer<LXAppDelegate>(this)](const QString& path) {
                             if (delegate) {
                                 delegate->openRecentFile(path);
                             }
                         });
}

void LXAppDelegate::fillExamplesMenu(KNPlotWindow* window) {
    QMenu* menu = window->ui().examplesMenu;
    menu->setEnabled(!examples.empty());
    for (const KNExample& example : examples) {
        // The items belong to the window's menu, so they go with the window.
        QAction* item = menu->addAction(example.title);
        connect(item, &QAction::triggered, this, [this, path = example.path] {
            createPlotWindowWithURL(QUrl::fromLocalFile(path));
        });
    }
}

void LXAppDelegate::plotWindowWillClose(KNPlotWindow* window) {
    const auto controller =
        std::find_if(_windowControllers.begin(), _windowControllers.end(),
                     [window](const auto& candidate) { return candidate->window() == window; });
    if (controller != _windowControllers.end()) {
        _windowControllers.erase(controller);
    }
    const auto registration =
        std::find_if(registrations.begin(), registrations.end(),
                     [window](const Registration& r) { return r.window == window; });
    if (registration != registrations.end()) {
        for (const QMetaObject::Connection& connection : registration->connections) {
            QObject::disconnect(connection);
        }
        registrations.erase(registration);
    }
}
