// Waiting for what the event loop, the kernel or another process does: this thread's events
// keep running meanwhile, and the wait ends as soon as the condition holds.
#pragma once

#include <QtCore/qtestsupport_core.h>

#include <chrono>
#include <functional>

namespace portmaven::test {

// Far past what any awaited event takes, so that only a fault, never a slow shared machine,
// lets a wait run out.
inline constexpr std::chrono::milliseconds kWaitDeadline{std::chrono::seconds(10)};

// True once the condition holds; false when the deadline passed first.
[[nodiscard]] inline bool WaitFor(const std::function<bool()>& condition,
                                  std::chrono::milliseconds deadline = kWaitDeadline) {
    return QTest::qWaitFor(condition, static_cast<int>(deadline.count()));
}

} // namespace portmaven::test
