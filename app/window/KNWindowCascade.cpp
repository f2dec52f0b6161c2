#include "KNWindowCascade.h"

#include <QScreen>

void KNWindowCascade::place(QWidget* window) {
    if (lastWindow && lastWindow->isVisible()) {
        const QRect available = lastWindow->screen()->availableGeometry();
        QPoint position = lastWindow->pos() + QPoint(step, step);
        const QRect placed(position, window->frameGeometry().size());
        if (!available.contains(placed)) {
            position = available.topLeft();
        }
        window->move(position);
    }
    lastWindow = window;
}
