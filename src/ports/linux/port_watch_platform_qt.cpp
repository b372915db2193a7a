#include "ports/linux/port_watch_platform_qt.h"

#include "common/guarded.h"
#include "ports/linux/serial_port_enum_udev.h"

#include <utility>

namespace portmaven::qt {

ports::PresentPort ToPresentPort(const ports::SerialPort& port) {
    return {.name = port.device, .label = port.label};
}

QtPortWatchPlatform::QtPortWatchPlatform(PortWatchDisplay display, std::function<void()> onTimer)
    : display_(std::move(display)) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [onTimer = std::move(onTimer)] {
        common::RunGuarded([&onTimer] { onTimer(); });
    });
}

void QtPortWatchPlatform::StartOneShot(std::chrono::milliseconds delay) {
    timer_.start(delay);
}

void QtPortWatchPlatform::CancelTimer() {
    timer_.stop();
}

std::optional<std::vector<ports::PresentPort>> QtPortWatchPlatform::Enumerate() {
    std::optional<std::vector<ports::SerialPort>> serialPorts = EnumerateSerialPorts();
    if (!serialPorts) {
        return std::nullopt;
    }
    std::vector<ports::PresentPort> present;
    present.reserve(serialPorts->size());
    for (const ports::SerialPort& port : *serialPorts) {
        present.push_back(ToPresentPort(port));
    }
    return present;
}

void QtPortWatchPlatform::ShowNotice(const ports::PortNotice& notice) {
    if (display_.showNotice) {
        display_.showNotice(notice);
    }
}

void QtPortWatchPlatform::SetTooltip(std::u16string_view tip) {
    if (display_.setTooltip) {
        display_.setTooltip(tip);
    }
}

} // namespace portmaven::qt
