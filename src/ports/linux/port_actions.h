// What a port's own menu items do on the Linux desktop: copy its name, rename its device, hide
// it and show it again; and the port list for scripts. The host hands over the port an item
// was chosen for.
#pragma once

#include "ports/serial_port.h"

#include <filesystem>
#include <optional>
#include <string>

class QWidget;

namespace portmaven::linux_desktop {

// The port's name to the clipboard.
void CopyPortName(const ports::SerialPort& port);

// Asks for a new name for the port's device and keeps it in the settings file.
void RenamePort(ports::SerialPort& port, const std::filesystem::path& settingsFile,
                QWidget* parent = nullptr);

bool SetPortHidden(ports::SerialPort& port, bool hidden, const std::filesystem::path& settingsFile);

// "--list-ports": the ports present now, one line each; nothing when udev cannot be asked.
std::optional<std::u16string> PortListNow(const std::filesystem::path& settingsFile);

} // namespace portmaven::linux_desktop
