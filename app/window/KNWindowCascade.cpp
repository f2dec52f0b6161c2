#include "KNWindowCascade.h"

#include <QScreen>
#include <algorithm>

void KNWindowCascade::place(QWidget* window) {
    placed.erase(
        std::remove_if(placed.begin(), placed.end(),
                       [](const QPointer<QWidget>& each) { return !each || !each->isVisible(); }),
        placed.end());
    if (!placed.empty()) {
        const QWidget* newest = placed.back();
        const QRect available = newest->screen()->availableGeometry();
        QPoint position = newest->pos() + QPoint(step, step);
        if (!available.contains(QRect(position, window->frameGeometry().size()))) {
            position = available.topLeft();
        }
        window->move(position);
    }
    placed.emplace_back(window);
}
