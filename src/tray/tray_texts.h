// The tray menu's texts that both front-ends show, each written once.
#pragma once

namespace portmaven::tray {

inline constexpr char16_t kNoSerialPortsText[] = u"<No Serial Ports>";
inline constexpr char16_t kNoCommandsText[] = u"<Empty>";
inline constexpr char16_t kDeviceManagerText[] = u"Device Manager";
inline constexpr char16_t kPropertiesText[] = u"Properties";
inline constexpr char16_t kAboutText[] = u"About Portmaven";
inline constexpr char16_t kExitText[] = u"Exit";
// Where the ports do not fit on the screen, the rest go one level down under this entry.
inline constexpr char16_t kMorePortsText[] = u"More Ports";

// Each port's own entries, after its commands.
inline constexpr char16_t kCopyPortNameText[] = u"Copy Port Name";
inline constexpr char16_t kPortSettingsText[] = u"Port Settings\u2026";
inline constexpr char16_t kHidePortText[] = u"Hide Port";
// The submenu listing the present ports the user hid; choosing one shows it again.
inline constexpr char16_t kHiddenPortsText[] = u"Hidden Ports";

// The greyed details line of a port: "0403:6001 \u00b7 FTDI \u00b7 SN A50285BI".
inline constexpr char16_t kDetailsSeparator[] = u" \u00b7 ";
inline constexpr char16_t kSerialNumberPrefix[] = u"SN ";
inline constexpr char16_t kInUseByPrefix[] = u"in use by ";
inline constexpr char16_t kNoDeviceDetailsText[] = u"No device details";
// The user cannot open the port: "no access: not in group dialout".
inline constexpr char16_t kNotInGroupPrefix[] = u"no access: not in group ";
inline constexpr char16_t kNotInSessionPrefix[] = u"no access: log out and in to join ";
inline constexpr char16_t kModemManagerProbeText[] = u"may be probed by ModemManager";

// Under the details line of a port the user cannot open, greyed: the command that lets them.
inline constexpr char16_t kFixLinePrefix[] = u"To fix: ";
inline constexpr char16_t kFixCommandPrefix[] = u"sudo usermod -aG ";
inline constexpr char16_t kCopyFixCommandText[] = u"Copy Fix Command";

} // namespace portmaven::tray
