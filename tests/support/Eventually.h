#pragma once

#include <QTest>

// How long a test waits for something to happen before it fails: far more than the slowest and
// busiest machine needs, so only a fault runs into it. Tests wait for the condition itself,
// never for a fixed time, and assert what happened, never how long it took.
constexpr int patienceMilliseconds = 60'000;

// Runs the event loop until condition() holds, for at most patienceMilliseconds; whether it
// came to hold.
template <typename Condition> bool eventually(Condition condition) {
    return QTest::qWaitFor(condition, patienceMilliseconds);
}
