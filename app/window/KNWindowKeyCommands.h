#pragma once

#include <QObject>
#include <functional>

// The keys a plot window answers wherever the focus is, unless the focused control uses the key
// itself (a field takes Backspace for its text and Escape to undo its edit): Delete or Backspace
// deletes the selection, Escape cancels. What cancelling means is decided in one place, the
// receiver's cancelOperation.
class KNWindowKeyCommands : public QObject {
    Q_OBJECT

public:
    struct Receiver {
        std::function<void()> deleteSelection;
        std::function<void()> cancelOperation;
    };

    explicit KNWindowKeyCommands(Receiver receiver, QObject* parent = nullptr);

    // Answers the keys that reach target: a window, or a view embedded in one, whose key events
    // do not pass through the window's widgets.
    void watch(QObject* target);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Receiver receiver;
};
