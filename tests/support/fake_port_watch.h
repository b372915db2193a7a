// A port watcher's platform without a window system: each enumeration returns the ports the
// test set last, the timer is the test's to fire (OnChangeSignal then OnTimer), and notices,
// tooltips and arrivals are recorded.
#pragma once

#include "ports/port_watch_platform.h"

#include <chrono>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace portmaven::ports::testing {

class FakePortWatch final : public PortWatchPlatform {
public:
    void StartOneShot(std::chrono::milliseconds) override {}
    void CancelTimer() override {}
    std::optional<std::vector<SerialPort>> Enumerate() override { return next; }
    void ShowNotice(const PortNotice& notice) override { notices.push_back(notice); }
    void SetTooltip(std::u16string_view) override {}
    std::vector<PortNotice> OnPortsArrived(std::span<const SerialPort> added) override {
        return onArrival ? onArrival(added) : std::vector<PortNotice>{};
    }

    // What the next enumerations find; nothing: an enumeration that fails.
    std::optional<std::vector<SerialPort>> next;
    std::vector<PortNotice> notices;
    std::function<std::vector<PortNotice>(std::span<const SerialPort>)> onArrival;
};

} // namespace portmaven::ports::testing
