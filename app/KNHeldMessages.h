#pragma once

#include <QtGlobal>
#include <functional>
#include <string>
#include <vector>

// Holds back the messages the toolkit logs while it lives, so that a run which ends well says
// nothing on standard error: release prints them when they turn out to matter. A fatal message
// is answered by onFatal, which must not return, instead of the toolkit's own abort. One at a
// time.
class KNHeldMessages {
public:
    explicit KNHeldMessages(std::function<void()> onFatal);
    ~KNHeldMessages();
    KNHeldMessages(const KNHeldMessages&) = delete;
    KNHeldMessages& operator=(const KNHeldMessages&) = delete;

    // Prints the messages held so far on standard error and forgets them.
    void release();

private:
    static void hold(QtMsgType type, const QMessageLogContext& context, const QString& message);

    std::function<void()> onFatal;
    std::vector<std::string> messages;
    QtMessageHandler previous;
};
