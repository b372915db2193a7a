#include "support/win/wait.h"

namespace portmaven::win::test_support {

namespace {

void DispatchPending() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

} // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (::GetTickCount64() >= deadline) {
            return false;
        }
        ::Sleep(pollMs);
    }
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    return WaitUntil(
        [&] {
            DispatchPending();
            return condition();
        },
        timeoutMs, 10);
}

void PumpFor(DWORD durationMs) {
    const ULONGLONG end = ::GetTickCount64() + durationMs;
    while (::GetTickCount64() < end) {
        DispatchPending();
        ::Sleep(10);
    }
}

} // namespace portmaven::win::test_support
