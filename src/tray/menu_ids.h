// Command identifiers of the tray menu that the portable menu model and the Win32 host share.
#pragma once

namespace portmaven::tray {

// The command at index i of the command list is menu command kFirstCommandId + i.
inline constexpr int kFirstCommandId = 501;
// The highest command id the menu hands out: the fixed items start at 32772, and menu command
// ids must stay within 16 bits.
inline constexpr int kLastCommandId = 32767;
inline constexpr int kMaxCommandItems = kLastCommandId - kFirstCommandId + 1;

// The greyed "<No Serial Ports>" item.
inline constexpr int kNoSerialPortsId = 100;

// Each port's own items. Every port has them under the same ids: like a command, a chosen item
// names its port through the port entry it was chosen under.
inline constexpr int kPortDetailsId = 110;
inline constexpr int kCopyPortNameId = 111;
inline constexpr int kPortSettingsId = 112;
inline constexpr int kHidePortId = 113;
// Only under a port the user cannot open (the Linux desktop): the greyed fix and its copy.
inline constexpr int kPortFixId = 114;
inline constexpr int kCopyFixCommandId = 115;

// The hidden port at index i of the hidden ports, in the "Hidden Ports" submenu, is menu command
// kFirstShowPortId + i; hidden ports past kLastShowPortId are not listed.
inline constexpr int kFirstShowPortId = 200;
inline constexpr int kLastShowPortId = 499;

// Fixed items of the tray menu template.
inline constexpr int kBlankItemId = 32783;
inline constexpr int kDeviceManagerId = 32772;
inline constexpr int kPropertiesId = 32773;
inline constexpr int kAboutId = 32774;
inline constexpr int kExitId = 32775;

} // namespace portmaven::tray
