// What the Win32 tests ask of windows: their text and class, the message of a message box,
// the colours a static control's parent hands out, and a watcher that answers message boxes.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

namespace portmaven::win::test_support {

// WM_GETTEXT, which works across processes, also for controls of another program.
std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
// The message of a message box: the texts of its static controls.
std::wstring MessageBoxText(HWND box);

// What one WM_CTLCOLORSTATIC to `parent` for `control` left in a fresh device context, as the
// control asks at paint time. The context is gone again afterwards, so that no font the
// answer selected stays selected anywhere.
struct ColourRequest {
    HBRUSH brush = nullptr;
    COLORREF text = 0;
    COLORREF back = 0;
    int bkMode = 0;
    HFONT font = nullptr; // null when the answer kept the context's own font
    bool underlined = false;
};
ColourRequest RequestColours(HWND parent, HWND control);

// Watches, on a thread of its own, for message boxes of this process with the caption given,
// records the message and owner of each and closes it with OK, so that a box a test provokes
// does not block it.
class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(std::wstring caption);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher(MessageBoxWatcher&&) = delete;
    MessageBoxWatcher& operator=(MessageBoxWatcher&&) = delete;

    [[nodiscard]] int Count() const { return count_; }
    [[nodiscard]] std::wstring LastText() const;
    [[nodiscard]] HWND Owner() const { return owner_; }

private:
    void Watch();

    const std::wstring caption_;
    std::atomic<bool> stop_{false};
    std::atomic<int> count_{0};
    mutable std::mutex mutex_;
    std::wstring lastText_;
    std::atomic<HWND> owner_{nullptr};
    std::thread thread_;
};

} // namespace portmaven::win::test_support
