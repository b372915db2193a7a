// What a port's own menu items do on the Linux desktop: copy its name, the settings of its
// device, hide it and show it again; and the port list for scripts. The host hands over the
// port an item was chosen for.
#pragma once

#include "ports/serial_port.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace portmaven::linux_desktop {

// The port's name to the clipboard.
void CopyPortName(const ports::SerialPort& port);

// Opens "Port Settings" for the port; OK keeps the settings in the settings file, true then.
// `commandNames` are the commands' names in list order, `heading` the dialog's greyed line.
bool EditPortSettings(const ports::SerialPort& port, std::vector<std::u16string> commandNames,
                      std::u16string heading, const std::filesystem::path& settingsFile,
                      QWidget* parent = nullptr);

bool SetPortHidden(ports::SerialPort& port, bool hidden, const std::filesystem::path& settingsFile);

// "--list-ports": the ports present now, one line each; nothing when udev cannot be asked.
std::optional<std::u16string> PortListNow(const std::filesystem::path& settingsFile);

} // namespace portmaven::linux_desktop
