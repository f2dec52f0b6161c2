#pragma once

#include "KNAlertPresenter.h"
#include "KNExportJob.h"
#include "KNRecentDocuments.h"
#include "KNSession.h"

#include <QString>
#include <memory>
#include <optional>

class KNPlotWindowController;

// The File menu's Save Session, Save Session As…, Export Image… and Export Trajectories… for
// one plot window. The choose... operations ask for a file name (and an image size) in a modal
// dialog; the others do the work and report any failure in one alert. Saving returns whether it
// succeeded. A window opened from a session, or saved to one, has that session as its file: the
// title names it and Save Session writes it without asking.
// An export runs in the window's export runner, while the window stays usable; the export
// operations return whether it started. One export at a time: another is refused in the
// status bar.
class KNDocumentActions {
public:
    KNDocumentActions(std::weak_ptr<KNPlotWindowController> controller,
                      std::shared_ptr<KNAlertPresenter> alerts, KNRecentDocuments recentDocuments);

    // Save Session: writes the window's session file, or asks for one when it has none.
    void saveSessionInPlace();
    // Save Session As…: always asks, proposing the session file if there is one.
    void chooseSessionFile();
    void chooseImageFile();
    void chooseTrajectoriesFile();

    // Saves the window as a session and notes the file among the recent ones; the file becomes
    // the window's session file and the status bar says where it went.
    bool saveSession(const QString& path);
    // The file Save Session writes, if the window has one.
    const std::optional<QString>& sessionFile() const { return sessionPath; }
    // The plot view's picture at scale times its size, drawn once the window's trajectories
    // are complete, with the camera and scene of that moment.
    bool exportImage(const QString& path, int scale);
    // The trajectories as the window's settings and seeds stand when it starts.
    bool exportTrajectories(const QString& path);

    // Everything the window shows as a session, its size and cameras with it, or nothing (with
    // the reason) for a system that has no source to save.
    static std::optional<KNSession> sessionOf(KNPlotWindowController& window,
                                              KNError* error = nullptr);

private:
    // Says in the status bar that an export is still running, and returns true, if one is.
    static bool refuseWhileExporting(KNPlotWindowController& window);
    // Says in an alert that path is the file the window was opened from, and returns true, if
    // it is.
    bool refuseOverwritingDocument(KNPlotWindowController& window, const QString& path);
    // Starts job in the window's runner; a failure goes to an alert naming path's file.
    void run(KNPlotWindowController& window, std::unique_ptr<KNExportJob> job, const QString& path);

    // The dialog's answer with extension added when the name has none; empty when cancelled.
    // It proposes proposed, else the window's title with suffix.
    QString chooseSaveFile(const QString& title, const QString& suffix, const QString& filter,
                           const QString& proposed = {});
    // Makes path the window's session file and names it in the title.
    void takeSessionFile(const QString& path);

    std::weak_ptr<KNPlotWindowController> controller;
    std::shared_ptr<KNAlertPresenter> alerts;
    KNRecentDocuments recentDocuments;
    std::optional<QString> sessionPath;
};
