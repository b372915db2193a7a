#include "ports/linux/port_watch.h"

#include "common/guarded.h"
#include "ports/linux/serial_port_enum.h"

#include <utility>

namespace portmaven::linux_desktop {

PortWatch::PortWatch(PortWatchDisplay display, std::filesystem::path settingsFile,
                     std::function<void()> onTimer)
    : display_(std::move(display)), settingsFile_(std::move(settingsFile)),
      settings_(settingsFile_) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [onTimer = std::move(onTimer)] {
        common::RunGuarded([&onTimer] { onTimer(); });
    });
}

void PortWatch::StartOneShot(std::chrono::milliseconds delay) {
    timer_.start(delay);
}

void PortWatch::CancelTimer() {
    timer_.stop();
}

std::optional<std::vector<ports::SerialPort>> PortWatch::Enumerate() {
    return EnumerateKnownPorts(settingsFile_);
}

void PortWatch::ShowNotice(const ports::PortNotice& notice) {
    if (display_.showNotice) {
        display_.showNotice(notice);
    }
}

void PortWatch::SetTooltip(std::u16string_view tip) {
    if (display_.setTooltip) {
        display_.setTooltip(tip);
    }
}

} // namespace portmaven::linux_desktop
