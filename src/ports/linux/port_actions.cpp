#include "ports/linux/port_actions.h"

#include "ports/device_settings.h"
#include "ports/linux/device_store.h"
#include "ports/linux/rename_port_dialog.h"
#include "ports/linux/serial_port_enum.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

#include <optional>

namespace portmaven::linux_desktop {

void CopyPortName(const ports::SerialPort& port) {
    QGuiApplication::clipboard()->setText(QStringView(port.name).toString());
}

void RenamePort(ports::SerialPort& port, const std::filesystem::path& settingsFile,
                QWidget* parent) {
    const std::optional<QString> name =
        RunRenamePortDialog(QStringView(port.userName).toString(), parent);
    if (name) {
        // A name that cannot be kept leaves the one the device had; the menu shows which.
        IniDeviceStore store(settingsFile);
        ports::SetPortName(store, port, name->toStdU16String());
    }
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
