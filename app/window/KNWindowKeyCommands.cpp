#include "KNWindowKeyCommands.h"

#include <QKeyEvent>

KNWindowKeyCommands::KNWindowKeyCommands(Receiver receiver, QObject* parent)
    : QObject(parent), receiver(std::move(receiver)) {}

void KNWindowKeyCommands::watch(QObject* target) {
    target->installEventFilter(this);
}

bool KNWindowKeyCommands::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~Qt::KeypadModifier) {
        return false;
    }
    switch (key->key()) {
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        receiver.deleteSelection();
        return true;
    case Qt::Key_Escape:
        receiver.cancelOperation();
        return true;
    default:
        return false;
    }
}
