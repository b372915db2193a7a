// What the port-change watcher runs on in a Win32 tray program: one window timer for the
// debounce, the SetupAPI enumeration, the balloon and tooltip of the window's tray icon, and
// the host's handler of arriving ports.
#pragma once

#include "framework/win/tray_icon.h"
#include "ports/port_change_watcher.h"
#include "ports/port_watch_platform.h"
#include "ports/win/device_store.h"

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace portmaven::win {

// The window timer of the debounce; WM_TIMER with this id goes to the watcher.
inline constexpr UINT_PTR kPortChangeTimerId = 0x5043;

// The tray icon's fields, terminator included.
inline constexpr ports::NoticeBufferSizes kTrayNoticeSizes{.title = TrayIcon::kBalloonTitleUnits,
                                                           .text = TrayIcon::kBalloonTextUnits,
                                                           .tooltip = TrayIcon::kTipUnits};

// What the host does when ports arrive; the notices it returns follow the ports' own.
using ArrivalHandler =
    std::function<std::vector<ports::PortNotice>(std::span<const ports::SerialPort> added)>;

class PortWatch final : public ports::PortWatchPlatform {
public:
    // The timer is `window`'s; the notices go to `icon`, which outlives this object; the ports
    // that arrive, to `onArrival`.
    PortWatch(HWND window, TrayIcon& icon, ArrivalHandler onArrival = {}) noexcept
        : m_window(window), m_icon(icon), m_onArrival(std::move(onArrival)) {}

    // SetTimer with the same id restarts a running timer from now.
    void StartOneShot(std::chrono::milliseconds delay) override;
    void CancelTimer() override;
    [[nodiscard]] std::optional<std::vector<ports::SerialPort>> Enumerate() override;
    [[nodiscard]] ports::DeviceSettingsStore& DeviceSettings() override { return m_settings; }
    // A balloon with the program's icon, held back by the shell in quiet time; it never takes
    // the focus.
    void ShowNotice(const ports::PortNotice& notice) override;
    void SetTooltip(std::u16string_view tip) override;
    std::vector<ports::PortNotice>
    OnPortsArrived(std::span<const ports::SerialPort> added) override;

private:
    HWND m_window;
    TrayIcon& m_icon;
    ArrivalHandler m_onArrival;
    RegistryDeviceStore m_settings;
};

} // namespace portmaven::win
