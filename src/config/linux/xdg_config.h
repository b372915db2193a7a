// Where the program keeps its files on an XDG desktop: the user's configuration folder,
// $XDG_CONFIG_HOME, or ~/.config when that is not set to an absolute path.
#pragma once

#include <filesystem>

namespace portmaven::linux_desktop {

// Empty when neither $XDG_CONFIG_HOME nor $HOME tells where it is.
[[nodiscard]] std::filesystem::path ConfigHome();

// <config home>/portmaven/Portmaven.cfg
[[nodiscard]] std::filesystem::path CommandFilePath();

// <config home>/portmaven/portmaven.conf: the program's settings other than its commands.
[[nodiscard]] std::filesystem::path SettingsFilePath();

// <config home>/autostart/portmaven.desktop: the session starts it at log-in.
[[nodiscard]] std::filesystem::path AutostartFilePath();

} // namespace portmaven::linux_desktop
