#include "access/linux/port_users.h"

#include "access/port_holder.h"

#include <QString>

#include <sys/stat.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace portmaven::linux_desktop {

namespace {

bool IsNumber(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// The same file: one inode, or one character device under two nodes.
bool SameFile(const struct stat& a, const struct stat& b) {
    if (a.st_dev == b.st_dev && a.st_ino == b.st_ino) {
        return true;
    }
    return S_ISCHR(a.st_mode) && S_ISCHR(b.st_mode) && a.st_rdev == b.st_rdev;
}

bool HoldsOpen(const std::filesystem::path& fdFolder, const struct stat& node) {
    std::error_code error;
    std::filesystem::directory_iterator files(fdFolder, error);
    if (error) {
        return false; // another user's process, or gone
    }
    // Files close while they are looked at: an error ends the walk instead of throwing.
    for (; !error && files != std::filesystem::directory_iterator(); files.increment(error)) {
        struct stat target {};
        // stat follows the link to the open file itself.
        if (::stat(files->path().c_str(), &target) == 0 && SameFile(target, node)) {
            return true;
        }
    }
    return false;
}

std::string CommandName(const std::filesystem::path& process) {
    std::ifstream comm(process / "comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

} // namespace

std::u16string PortUsersText(std::u16string_view deviceNode, const std::filesystem::path& proc) {
    struct stat node {};
    const std::string nodePath = QStringView(deviceNode).toString().toStdString();
    if (nodePath.empty() || ::stat(nodePath.c_str(), &node) != 0) {
        return {};
    }
    std::error_code error;
    std::filesystem::directory_iterator processes(proc, error);
    if (error) {
        return {};
    }
    std::vector<access::PortHolder> holders;
    for (; !error && processes != std::filesystem::directory_iterator();
         processes.increment(error)) {
        const std::filesystem::path process = processes->path();
        const std::string pid = process.filename().string();
        if (!IsNumber(pid) || !HoldsOpen(process / "fd", node)) {
            continue;
        }
        holders.push_back({QString::fromStdString(CommandName(process)).toStdU16String(),
                           static_cast<std::uint32_t>(std::stoul(pid))});
    }
    return access::HoldersText(holders);
}

void NoteWhoHoldsPorts(std::vector<ports::SerialPort>& ports) {
    for (ports::SerialPort& port : ports) {
        port.usedBy = PortUsersText(port.name);
    }
}

} // namespace portmaven::linux_desktop
