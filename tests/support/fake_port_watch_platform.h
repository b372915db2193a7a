// The port-change watcher's platform as a test drives it: a timer on a fake clock, enumerations
// that return whatever the test puts in front of them (with the user's settings read from a
// store, as the real platforms read them), and the notices and tooltips it was asked to show.
#pragma once

#include "ports/device_settings.h"
#include "ports/port_change_watcher.h"
#include "ports/port_watch_platform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace portmaven::test {

// Its timer repeats until it is cancelled, as a window timer does, so that a watcher that
// forgot to stop it would be seen ticking on.
class FakePortWatchPlatform final : public ports::PortWatchPlatform {
public:
    using Ports = std::vector<ports::SerialPort>;

    explicit FakePortWatchPlatform(ports::DeviceSettingsStore& settings) : m_settings(settings) {}

    void Attach(ports::PortChangeWatcher& watcher) { m_watcher = &watcher; }

    // The next enumerations' results, in order; nullopt for one that fails.
    void WillEnumerate(std::optional<Ports> ports) { m_results.push_back(std::move(ports)); }

    // Lets time pass, delivering each tick that falls due.
    void Advance(std::chrono::milliseconds span) {
        const std::chrono::milliseconds end = m_now + span;
        while (m_deadline && *m_deadline <= end) {
            m_now = *m_deadline;
            m_deadline = m_now + m_interval;
            m_watcher->OnTimer();
        }
        m_now = end;
    }

    // `signals` change signals, each less than one debounce after the last, then the quiet that
    // lets the debounce elapse; the burst's enumeration finds `result`.
    void Burst(std::optional<Ports> result, int signals = 1) {
        using namespace std::chrono_literals;
        WillEnumerate(std::move(result));
        for (int i = 0; i < signals; ++i) {
            m_watcher->OnChangeSignal();
            Advance(ports::kPortChangeDebounce - 1ms);
        }
        Advance(1ms);
    }

    void StartOneShot(std::chrono::milliseconds delay) override {
        ++timerStarts;
        m_interval = delay;
        m_deadline = m_now + delay;
    }
    void CancelTimer() override { m_deadline.reset(); }
    std::optional<Ports> Enumerate() override {
        ++enumerations;
        EXPECT_FALSE(m_results.empty()) << "an enumeration the test did not expect";
        if (m_results.empty()) {
            return std::nullopt;
        }
        // Swapped out rather than moved from: g++ -O2 misreads the moved-from optional as
        // possibly uninitialised.
        std::optional<Ports> result;
        result.swap(m_results.front());
        m_results.pop_front();
        if (result) {
            ports::ApplyDeviceSettings(*result, m_settings);
        }
        return result;
    }
    ports::DeviceSettingsStore& DeviceSettings() override { return m_settings; }
    void ShowNotice(const ports::PortNotice& notice) override { notices.push_back(notice); }
    void SetTooltip(std::u16string_view tip) override { tooltips.emplace_back(tip); }

    [[nodiscard]] bool TimerScheduled() const { return m_deadline.has_value(); }

    int timerStarts = 0;
    int enumerations = 0;
    std::vector<ports::PortNotice> notices;
    std::vector<std::u16string> tooltips;

private:
    ports::DeviceSettingsStore& m_settings;
    ports::PortChangeWatcher* m_watcher = nullptr;
    std::deque<std::optional<Ports>> m_results;
    std::chrono::milliseconds m_now{0};
    std::chrono::milliseconds m_interval{0};
    std::optional<std::chrono::milliseconds> m_deadline;
};

} // namespace portmaven::test
