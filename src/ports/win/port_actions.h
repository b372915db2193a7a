// What a port's own menu items do on Windows: copy its name, rename its device, hide it, and
// show a hidden port again. The host hands over the ports of the menu and the highlighted
// port entry's position among the listed ones.
#pragma once

#include "ports/serial_port.h"

#include <windows.h>

#include <cstddef>
#include <string_view>
#include <vector>

namespace portmaven::win {

// Puts the text on the clipboard as Unicode text; false when the clipboard cannot be had.
bool CopyTextToClipboard(HWND owner, std::u16string_view text);

// The listed port at `position`: its name to the clipboard.
bool CopyPortName(HWND owner, const std::vector<ports::SerialPort>& ports, int position);
// Asks for a new name for the device of the listed port at `position` and keeps it. Works on a
// copy of that port: `ports` may change while the dialog runs.
void RenamePort(HWND owner, const std::vector<ports::SerialPort>& ports, int position);
// Hides the listed port at `position`.
bool HidePort(std::vector<ports::SerialPort>& ports, int position);
// Shows again the hidden port at `hiddenIndex` among the hidden ones, in their order.
bool ShowHiddenPort(std::vector<ports::SerialPort>& ports, std::size_t hiddenIndex);

} // namespace portmaven::win
