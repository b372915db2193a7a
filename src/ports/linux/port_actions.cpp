#include "ports/linux/port_actions.h"

#include "ports/device_settings.h"
#include "ports/linux/device_store.h"
#include "ports/linux/port_settings_dialog.h"
#include "ports/linux/serial_port_enum.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

#include <optional>
#include <utility>

namespace portmaven::linux_desktop {

void CopyPortName(const ports::SerialPort& port) {
    QGuiApplication::clipboard()->setText(QStringView(port.name).toString());
}

bool EditPortSettings(const ports::SerialPort& port, std::vector<std::u16string> commandNames,
                      std::u16string heading, const std::filesystem::path& settingsFile,
                      QWidget* parent) {
    IniDeviceStore store(settingsFile);
    return RunPortSettingsDialog(store, port, std::move(commandNames), std::move(heading), parent);
}

bool SetPortHidden(ports::SerialPort& port, bool hidden,
                   const std::filesystem::path& settingsFile) {
    IniDeviceStore store(settingsFile);
    return ports::SetPortHidden(store, port, hidden);
}

std::optional<std::u16string> PortListNow(const std::filesystem::path& settingsFile) {
    const std::optional<std::vector<ports::SerialPort>> ports = EnumerateKnownPorts(settingsFile);
    if (!ports) {
        return std::nullopt;
    }
    return ports::PortListText(*ports);
}

} // namespace portmaven::linux_desktop
