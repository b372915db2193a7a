// Waiting for what another window, thread or process does, without timed sleeps in the tests.
#pragma once

#include <windows.h>

#include <functional>

namespace portmaven::win::test_support {

// Polls the condition until it holds (true) or the time is up (false).
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000, DWORD pollMs = 25);

// Polls the condition while dispatching this thread's messages, so that windows of this thread
// (timers, dialogs) keep working meanwhile.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// Dispatches this thread's messages for the time given.
void PumpFor(DWORD durationMs);

} // namespace portmaven::win::test_support
