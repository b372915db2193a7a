// Command identifiers of the tray menu that the portable menu model and the Win32 host share.
#pragma once

namespace portmaven::ports {

// The command at index i of the command list is menu command kFirstCommandId + i.
inline constexpr int kFirstCommandId = 501;
// The highest command id the menu hands out: the fixed items start at 32772, and menu command
// ids must stay within 16 bits.
inline constexpr int kLastCommandId = 32767;
inline constexpr int kMaxCommandItems = kLastCommandId - kFirstCommandId + 1;

// The greyed "<No Serial Ports>" item.
inline constexpr int kNoSerialPortsId = 100;

} // namespace portmaven::ports
