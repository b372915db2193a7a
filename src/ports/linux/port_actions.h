// What a port's own menu items do on the Linux desktop: copy its name, rename its device, hide
// it and show it again; and the port list for scripts. The host hands over the ports of the
// menu and the index of the port an item was chosen for.
#pragma once

#include "ports/serial_port.h"

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <vector>

class QWidget;

namespace portmaven::linux_desktop {

// The port's name to the clipboard.
void CopyPortName(const std::vector<ports::SerialPort>& ports, std::size_t index);

// Asks for a new name for the port's device and keeps it in the settings file.
void RenamePort(std::vector<ports::SerialPort>& ports, std::size_t index,
                const std::filesystem::path& settingsFile, QWidget* parent = nullptr);

bool SetPortHidden(std::vector<ports::SerialPort>& ports, std::size_t index, bool hidden,
                   const std::filesystem::path& settingsFile);

// "--list-ports": the ports present now, one line each, as UTF-8; false when udev cannot be
// asked or the lines cannot be written.
bool WritePortList(std::FILE* output, const std::filesystem::path& settingsFile);

} // namespace portmaven::linux_desktop
