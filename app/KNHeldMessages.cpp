#include "KNHeldMessages.h"

#include <QString>
#include <cassert>
#include <cstdio>
#include <utility>

namespace {

// The toolkit's handler is a plain function, so it finds the holder here.
KNHeldMessages* current = nullptr;

} // namespace

KNHeldMessages::KNHeldMessages(std::function<void()> onFatal) : onFatal(std::move(onFatal)) {
    assert(current == nullptr && "one holder at a time");
    current = this;
    previous = qInstallMessageHandler(&KNHeldMessages::hold);
}

KNHeldMessages::~KNHeldMessages() {
    qInstallMessageHandler(previous);
    current = nullptr;
}

void KNHeldMessages::release() {
    for (const std::string& message : messages) {
        std::fprintf(stderr, "%s\n", message.c_str());
    }
    std::fflush(stderr);
    messages.clear();
}

void KNHeldMessages::hold(QtMsgType type, const QMessageLogContext&, const QString& message) {
    current->messages.push_back(message.toStdString());
    if (type == QtFatalMsg) {
        current->onFatal();
    }
}
