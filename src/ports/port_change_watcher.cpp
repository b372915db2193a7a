#include "ports/port_change_watcher.h"

#include "ports/device_settings.h"
#include "ports/fit_text.h"
#include "ports/port_notice.h"
#include "ports/port_set_diff.h"

#include <utility>
#include <vector>

namespace portmaven::ports {

PortChangeWatcher::PortChangeWatcher(PortWatchPlatform& platform, NoticeBufferSizes sizes)
    : m_platform(platform), m_sizes(sizes) {}

void PortChangeWatcher::Seed() {
    std::optional<std::vector<SerialPort>> ports = m_platform.Enumerate();
    if (!ports) {
        return;
    }
    m_ports = std::move(*ports);
    m_seeded = true;
    ShowTooltip();
}

void PortChangeWatcher::OnChangeSignal() {
    m_platform.StartOneShot(kPortChangeDebounce);
    m_timerRunning = true;
}

void PortChangeWatcher::OnTimer() {
    m_platform.CancelTimer();
    // A tick that was already queued when the timer was stopped belongs to no burst.
    if (!std::exchange(m_timerRunning, false)) {
        return;
    }
    if (!m_seeded) {
        // Without a set to compare with, every present port would look new.
        Seed();
        return;
    }
    std::optional<std::vector<SerialPort>> ports = m_platform.Enumerate();
    if (!ports) {
        return;
    }
    PortSetChange change = DiffPortSets(m_ports, *ports);
    m_ports = std::move(*ports);
    ShowTooltip();
    if (!m_notificationsEnabled) {
        return;
    }
    // The ports that went were read at the last enumeration; the user may have renamed, hidden
    // or shown them since.
    ApplyDeviceSettings(change.removed, m_platform.DeviceSettings());
    // Ports the user hid come and go without a word.
    std::erase_if(change.added, [](const SerialPort& port) { return !NoticeDue(port); });
    std::erase_if(change.removed, [](const SerialPort& port) { return !NoticeDue(port); });
    if (std::optional<PortNotice> notice = MakePortNotice(change)) {
        m_platform.ShowNotice({.title = FitToBuffer(notice->title, m_sizes.title),
                               .text = FitToBuffer(notice->text, m_sizes.text),
                               .namedText = std::move(notice->namedText)});
    }
}

void PortChangeWatcher::ShowTooltip() {
    m_platform.SetTooltip(FitToBuffer(MakePortTooltip(m_ports), m_sizes.tooltip));
}

} // namespace portmaven::ports
