#include "config/linux/xdg_config.h"

#include "config/command_file.h"

#include <cstdlib>
#include <string_view>

namespace portmaven::linux_desktop {

namespace {

std::filesystem::path AbsoluteFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) {
        return {};
    }
    std::filesystem::path path(value);
    // The XDG rules say a relative value is invalid and must be ignored.
    return path.is_absolute() ? path : std::filesystem::path();
}

} // namespace

std::filesystem::path ConfigHome() {
    if (auto configHome = AbsoluteFromEnvironment("XDG_CONFIG_HOME"); !configHome.empty()) {
        return configHome;
    }
    if (auto home = AbsoluteFromEnvironment("HOME"); !home.empty()) {
        return home / ".config";
    }
    return {};
}

std::filesystem::path CommandFilePath() {
    const std::filesystem::path home = ConfigHome();
    if (home.empty()) {
        return {};
    }
    return home / "portmaven" / std::filesystem::path(config::kCommandFileName);
}

std::filesystem::path SettingsFilePath() {
    const std::filesystem::path home = ConfigHome();
    if (home.empty()) {
        return {};
    }
    return home / "portmaven" / "portmaven.conf";
}

std::filesystem::path AutostartFilePath() {
    const std::filesystem::path home = ConfigHome();
    if (home.empty()) {
        return {};
    }
    return home / "autostart" / "portmaven.desktop";
}

} // namespace portmaven::linux_desktop
