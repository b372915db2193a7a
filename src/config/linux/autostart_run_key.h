// Launch at log-in on an XDG desktop: a desktop entry in the user's autostart folder whose
// Exec line starts the running binary.
#pragma once

#include "config/run_key.h"

#include <filesystem>
#include <string>

namespace portmaven::linux_desktop {

// Exec's value for a program path: one argument, quoted as the Desktop Entry rules say, with
// the escapes a string value of a desktop entry needs on top.
[[nodiscard]] std::string DesktopExecValue(const std::string& programPath);

class AutostartRunKey final : public config::RunKey {
public:
    // The entry at entryPath starts programPath.
    AutostartRunKey(std::filesystem::path entryPath, std::string programPath);

    [[nodiscard]] bool IsLaunchOnStartupSet() override;
    bool SetLaunchOnStartup() override;
    bool RemoveLaunchOnStartup() override;

private:
    std::filesystem::path entryPath_;
    std::string programPath_;
};

// The running binary's absolute path; empty when the system cannot tell.
[[nodiscard]] std::string RunningProgramPath();

} // namespace portmaven::linux_desktop
