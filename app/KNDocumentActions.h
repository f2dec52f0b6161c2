#pragma once

#include "KNAlertPresenter.h"
#include "KNRecentDocuments.h"

#include <QString>
#include <memory>

class KNPlotWindowController;

// The File menu's Save Session…, Export Image… and Export Trajectories… for one plot window.
// The choose... operations ask for a file name (and an image size) in a modal dialog; the
// others do the work, report any failure in one alert and return whether they succeeded.
class KNDocumentActions {
public:
    KNDocumentActions(std::weak_ptr<KNPlotWindowController> controller,
                      std::shared_ptr<KNAlertPresenter> alerts, KNRecentDocuments recentDocuments);

    void chooseSessionFile();
    void chooseImageFile();
    void chooseTrajectoriesFile();

    // Saves the window as a session and notes the file among the recent ones.
    bool saveSession(const QString& path);
    // The plot view's picture at scale times its size.
    bool exportImage(const QString& path, int scale);
    bool exportTrajectories(const QString& path);

private:
    // The dialog's answer with extension added when the name has none; empty when cancelled.
    QString chooseSaveFile(const QString& title, const QString& suffix, const QString& filter);

    std::weak_ptr<KNPlotWindowController> controller;
    std::shared_ptr<KNAlertPresenter> alerts;
    KNRecentDocuments recentDocuments;
};
