#pragma once

#include <QPointer>
#include <QWidget>

// Places each new window one step below and to the right of the window placed before it, so
// windows opened together do not cover each other exactly. A window that would reach past the
// screen's free area starts the cascade again at its top left. The first window, or one placed
// after the previous one has gone, is left where the window system puts it.
class KNWindowCascade {
public:
    static constexpr int step = 32;

    // Call before the window is shown.
    void place(QWidget* window);

private:
    QPointer<QWidget> lastWindow;
};
