// Where the tray icon can show, and waiting for it at log-on. The kind of tray is picked once,
// when the icon is made, and kept for the process's life: an icon made before the panel is up
// would show nowhere for the whole run, so the host makes it only once a tray is there.
#pragma once

#include <QDBusServiceWatcher>
#include <QTimer>

#include <chrono>
#include <functional>

namespace portmaven::linux_desktop {

enum class TrayKind {
    StatusNotifier, // a StatusNotifierItem on the session bus; the host draws icon and menu
    XEmbed,         // a window embedded in an X11 tray; the program draws its own menu
};

// A StatusNotifierWatcher with a registered host is on the session bus.
[[nodiscard]] bool StatusNotifierHostPresent();
// An X11 system tray owns the tray selection of the default screen; false off X11.
[[nodiscard]] bool XEmbedTrayPresent();

// The kind of icon to make now: the program's own StatusNotifierItem when a watcher with a
// host is on the bus, Qt's XEmbed window otherwise; Wayland has only the first.
[[nodiscard]] TrayKind CurrentTrayKind();

// Calls `ready` once, when a StatusNotifierItem host or an XEmbed tray appears, or when the
// limit has passed without either (Qt's XEmbed icon then still finds a tray that comes later).
class TrayWaiter {
public:
    TrayWaiter(std::chrono::milliseconds limit, std::function<void()> ready);
    ~TrayWaiter();
    TrayWaiter(const TrayWaiter&) = delete;
    TrayWaiter& operator=(const TrayWaiter&) = delete;
    TrayWaiter(TrayWaiter&&) = delete;
    TrayWaiter& operator=(TrayWaiter&&) = delete;

private:
    void Check();
    void Finish();

    std::function<void()> ready_;
    // The watcher's name appearing wakes the check at once; the host registers with it a
    // moment later, and an XEmbed tray announces itself only to the root window, so a slow
    // check follows both until one is there.
    QDBusServiceWatcher busWatcher_;
    QTimer poll_;
    QTimer limit_;
};

} // namespace portmaven::linux_desktop
