// The tray menu's and the launch's texts that both front-ends show, each written once.
#pragma once

namespace portmaven::ports {

inline constexpr char16_t kNoSerialPortsText[] = u"<No Serial Ports>";
inline constexpr char16_t kNoCommandsText[] = u"<Empty>";
inline constexpr char16_t kDeviceManagerText[] = u"Device Manager";
inline constexpr char16_t kPropertiesText[] = u"Properties";
inline constexpr char16_t kAboutText[] = u"About Portmaven";
inline constexpr char16_t kExitText[] = u"Exit";
// Where the ports do not fit on the screen, the rest go one level down under this entry.
inline constexpr char16_t kMorePortsText[] = u"More Ports";

// A command line that names no program that can be started.
inline constexpr char16_t kInvalidCommandText[] = u"Invalid command to execute";

} // namespace portmaven::ports
