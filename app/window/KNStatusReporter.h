#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QProgressBar;
class QStatusBar;

// What a plot window tells its user without interrupting: why a typed value was refused, what
// the latest recomputation ran into, and how far a long recomputation has come. Nothing here is
// modal. A refusal shows for a while over the recomputation's outcome and then gives way to it;
// the outcome stays until the next recomputation replaces or clears it.
class KNStatusReporter : public QObject {
    Q_OBJECT

public:
    // Adds its outcome label and progress bar to bar, which owns them.
    explicit KNStatusReporter(QStatusBar* bar, QObject* parent = nullptr);

    // Why a value the user gave was not taken; the control shows the value in force again.
    void reportRefusal(const QString& reason);
    // A change was taken: a refusal still showing is out of date and goes; a notice stays.
    void withdrawRefusal();
    // One message for one recomputation (seeds diverged, script calls stopped, script errors),
    // or an empty one when it went well, which clears the previous outcome. A new non-empty
    // outcome also takes the place of a refusal still showing.
    void reportRecomputation(const QString& outcome);
    // A long recomputation has done `done` of `total` units of work; shown until endProgress.
    void reportProgress(int done, int total);
    void endProgress();
    // How far an export has come, the part done from 0 to 1, in a bar of its own beside the
    // recomputation's; shown until endExportProgress.
    void reportExportProgress(double part);
    void endExportProgress();
    // How an action that ran for a while ended ("Exported the image to ..."); shown for a
    // while, as a refusal is.
    void reportNotice(const QString& notice);
    // What the pointer is on, shown as long as it stays there; an empty text takes it away.
    void reportHover(const QString& text);
    // Removes the refusal and the outcome.
    void clear();

    // The text the user sees now: a refusal still showing, otherwise the outcome.
    QString currentMessage() const;
    bool isShowingProgress() const;
    bool isShowingExportProgress() const;

    // Long enough to read a sentence twice.
    static constexpr int refusalMilliseconds = 10'000;

private:
    QStatusBar* bar;
    QLabel* outcome;
    QProgressBar* progress;
    QProgressBar* exportProgress;
    // The refusal shown last, as the bar shows it; empty once withdrawn.
    QString shownRefusal;
    // Whether the bar's message is a hover text, which leaving the path takes away.
    bool showsHover = false;
};
