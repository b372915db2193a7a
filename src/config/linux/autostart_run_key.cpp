#include "config/linux/autostart_run_key.h"

#include <fstream>
#include <string_view>
#include <system_error>
#include <utility>

namespace portmaven::linux_desktop {

namespace {

// Inside the quotes of an Exec argument these need a backslash before them.
constexpr std::string_view kEscapedInQuotes = "\"`$\\";

} // namespace

std::string DesktopExecValue(const std::string& programPath) {
    // Always quoted: a quoted argument is valid whatever the path holds, so no decision about
    // which characters are reserved has to be right.
    std::string quoted = "\"";
    for (const char c : programPath) {
        if (kEscapedInQuotes.find(c) != std::string_view::npos) {
            quoted.push_back('\\');
        }
        // A single percent sign would start a field code.
        if (c == '%') {
            quoted.push_back('%');
        }
        quoted.push_back(c);
    }
    quoted.push_back('"');
    // The whole line is a string value of the entry, whose own escapes come on top.
    std::string value;
    for (const char c : quoted) {
        switch (c) {
        case '\\':
            value += "\\\\";
            break;
        case '\n':
            value += "\\n";
            break;
        case '\t':
            value += "\\t";
            break;
        default:
            value.push_back(c);
        }
    }
    return value;
}

AutostartRunKey::AutostartRunKey(std::filesystem::path entryPath, std::string programPath)
    : entryPath_(std::move(entryPath)), programPath_(std::move(programPath)) {}

bool AutostartRunKey::IsLaunchOnStartupSet() {
    std::error_code error;
    // Only presence counts, as with the registry value: the entry's content is not read.
    return std::filesystem::is_regular_file(entryPath_, error);
}

bool AutostartRunKey::SetLaunchOnStartup() {
    if (programPath_.empty() || entryPath_.empty()) {
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(entryPath_.parent_path(), error);
    if (error) {
        return false;
    }
    std::ofstream entry(entryPath_, std::ios::trunc);
    entry << "[Desktop Entry]\n"
             "Type=Application\n"
             "Name=Portmaven\n"
             "Comment=Serial ports in the system tray\n"
          << "Exec=" << DesktopExecValue(programPath_) << "\n"
          << "Terminal=false\n";
    entry.close();
    return !entry.fail();
}

bool AutostartRunKey::RemoveLaunchOnStartup() {
    std::error_code error;
    return std::filesystem::remove(entryPath_, error);
}

std::string RunningProgramPath() {
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

} // namespace portmaven::linux_desktop
