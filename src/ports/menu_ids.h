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

// Fixed items of the tray menu template.
inline constexpr int kBlankItemId = 32783;
inline constexpr int kDeviceManagerId = 32772;
inline constexpr int kPropertiesId = 32773;
inline constexpr int kAboutId = 32774;
inline constexpr int kExitId = 32775;

} // namespace portmaven::ports
