// One icon of a window in the shell's notification area. Every write to the icon (add, picture,
// tip, balloon, delete) goes through this owner, so that the record the shell keys it by (its
// size, window, id and callback message) is filled in one place, and an icon the shell lost
// when it restarted comes back as it was.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace portmaven::win {

// Broadcast by the shell when the notification area is (re)created, e.g. after Explorer
// restarts; every icon must then be added again.
inline constexpr wchar_t kTaskbarCreatedMessage[] = L"TaskbarCreated";

class TrayIcon {
public:
    // The fields of the shell's record, terminator included: texts longer than these are cut.
    static constexpr std::size_t kTipUnits = sizeof(NOTIFYICONDATAW::szTip) / sizeof(wchar_t);
    static constexpr std::size_t kBalloonTitleUnits =
        sizeof(NOTIFYICONDATAW::szInfoTitle) / sizeof(wchar_t);
    static constexpr std::size_t kBalloonTextUnits =
        sizeof(NOTIFYICONDATAW::szInfo) / sizeof(wchar_t);

    // What a callback message says about this icon. The shell speaks its oldest convention
    // (no NIM_SETVERSION): wParam the icon's id, lParam the mouse message or balloon event.
    enum class Event {
        Click,        // a button released over the icon
        DoubleClick,  // the left button double-clicked
        BalloonClick, // the user clicked the icon's balloon
        Other,        // another mouse message or balloon event
        NotThisIcon,
    };

    // What a balloon shows: its title and text, the shell's NIIF_ flags (which icon, and
    // whether the shell holds it back in the user's quiet time), and with NIIF_USER the icon
    // itself, of which the shell keeps a copy.
    struct Balloon {
        std::u16string_view title;
        std::u16string_view text;
        DWORD flags = NIIF_INFO | NIIF_RESPECT_QUIET_TIME;
        HICON icon = nullptr;
    };

    // The icon `id` of `window`, whose callbacks arrive as `callbackMessage`. Lets the
    // shell's TaskbarCreated through to the window even when the program runs elevated and
    // the shell does not. Nothing is shown before Add.
    TrayIcon(HWND window, UINT id, UINT callbackMessage) noexcept;
    // Takes the icon out of the notification area.
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;
    TrayIcon(TrayIcon&&) = delete;
    TrayIcon& operator=(TrayIcon&&) = delete;

    // Adds the icon with its picture and tip as they are now, also after the shell lost it;
    // false when the shell refuses (no notification area yet).
    bool Add();
    // The picture, kept for later adds; an added icon shows it at once.
    void SetIcon(HICON icon);
    // The tip, kept for later adds and cut to the field; an added icon shows it at once.
    void SetTip(std::u16string_view tip);
    // Shows a balloon over the added icon; it never takes the focus. False when the shell did
    // not take it (no icon: the balloon is not kept for later).
    bool ShowBalloon(const Balloon& balloon);
    // Takes the icon away; harmless when it is not there.
    void Delete();

    [[nodiscard]] Event Decode(WPARAM wParam, LPARAM lParam) const noexcept;

    [[nodiscard]] HWND Window() const noexcept { return window_; }

private:
    // A record naming the icon, with the fields of `flags` to be read.
    [[nodiscard]] NOTIFYICONDATAW Record(UINT flags) const noexcept;

    HWND window_;
    UINT id_;
    UINT callbackMessage_;
    HICON icon_ = nullptr;
    std::wstring tip_;
    // The last Add succeeded. The shell may still have lost the icon since; changes to it then
    // fail, harmlessly, until it is added again.
    bool added_ = false;
};

} // namespace portmaven::win
