// What a port's own menu items do on Windows: copy its name, the settings of its device, hide
// it, and show a hidden port again. The host hands over the ports of the menu and the
// highlighted port entry's position among the listed ones.
#pragma once

#include "ports/serial_port.h"

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace portmaven::win {

// Puts the text on the clipboard as Unicode text; false when the clipboard cannot be had.
bool CopyTextToClipboard(HWND owner, std::u16string_view text);

// The listed port at `position`: its name to the clipboard.
bool CopyPortName(HWND owner, const std::vector<ports::SerialPort>& ports, int position);
// Opens "Port Settings" for the port, which the caller copied: the host's list may be enumerated
// again while the dialog runs. OK keeps the settings in the user's registry; true then.
// `commandNames` are the commands' names in list order, `heading` the dialog's greyed line.
bool EditPortSettings(HWND owner, const ports::SerialPort& port,
                      std::vector<std::u16string> commandNames, std::u16string heading);
// Hides the listed port at `position`.
bool HidePort(std::vector<ports::SerialPort>& ports, int position);
// Shows again the hidden port at `hiddenIndex` among the hidden ones, in their order.
bool ShowHiddenPort(std::vector<ports::SerialPort>& ports, std::size_t hiddenIndex);

} // namespace portmaven::win
