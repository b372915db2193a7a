#include "access/linux/port_users.h"

#include <QString>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace portmaven::linux_desktop {

namespace {

struct DirCloser {
    void operator()(DIR* folder) const noexcept { ::closedir(folder); }
};
using Folder = std::unique_ptr<DIR, DirCloser>;

// Descriptors read between two looks at the clock: a process may hold a great many.
constexpr int kDescriptorsPerClockCheck = 512;

bool IsNumber(const char* text) {
    return *text != '\0' && std::strspn(text, "0123456789") == std::strlen(text);
}

using LinkBuffer = std::array<char, PATH_MAX>;

// The link's text, in `buffer`; empty when it is no link or is gone.
std::string_view LinkText(int folder, const char* name, LinkBuffer& buffer) {
    const ssize_t length = ::readlinkat(folder, name, buffer.data(), buffer.size());
    return length > 0 ? std::string_view(buffer.data(), static_cast<std::size_t>(length))
                      : std::string_view();
}

// Looks texts up without making a string of each: a look reads tens of thousands of links.
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const noexcept {
        return std::hash<std::string_view>{}(text);
    }
};

// The texts the kernel gives a descriptor of the port: its node, and where a link standing at
// that name leads (a node given under another name, or a stand-in device in tests).
std::vector<std::string> NamesOfNode(const std::string& node) {
    std::vector<std::string> names{node};
    std::filesystem::path current(node);
    // A few steps at most: a loop of links must not hold the look.
    LinkBuffer buffer;
    for (int step = 0; step < 8; ++step) {
        const std::string_view target = LinkText(AT_FDCWD, current.c_str(), buffer);
        if (target.empty()) {
            break;
        }
        current = (current.parent_path() / target).lexically_normal();
        names.push_back(current.string());
    }
    return names;
}

std::u16string CommandName(const std::filesystem::path& process) {
    std::ifstream comm(process / "comm");
    std::string name;
    std::getline(comm, name);
    return QString::fromStdString(name).toStdU16String();
}

} // namespace

access::HolderScanAnswer ScanPortHolders(std::uint64_t scan,
                                         std::span<const std::u16string> portNames,
                                         access::ScanClock::time_point deadline,
                                         const std::filesystem::path& proc) {
    access::HolderScanAnswer answer{.scan = scan, .complete = false, .holders = {}};
    // Each text a descriptor of a port shows, to the ports it stands for.
    std::unordered_map<std::string, std::vector<std::size_t>, TextHash, std::equal_to<>>
        portsByLinkText;
    for (std::size_t port = 0; port < portNames.size(); ++port) {
        const std::string node = QStringView(portNames[port]).toString().toStdString();
        if (node.empty()) {
            continue;
        }
        for (std::string& name : NamesOfNode(node)) {
            std::vector<std::size_t>& ports = portsByLinkText[std::move(name)];
            if (ports.empty() || ports.back() != port) {
                ports.push_back(port);
            }
        }
    }
    const Folder processes(::opendir(proc.c_str()));
    if (!processes) {
        return answer;
    }
    std::vector<bool> holds(portNames.size());
    LinkBuffer buffer;
    int sinceClockCheck = 0;
    while (const dirent* process = ::readdir(processes.get())) {
        if (!IsNumber(process->d_name)) {
            continue;
        }
        if (access::ScanClock::now() > deadline) {
            return answer;
        }
        const std::filesystem::path processFolder = proc / process->d_name;
        const Folder descriptors(::opendir((processFolder / "fd").c_str()));
        if (!descriptors) {
            continue; // another user's process, or gone
        }
        std::fill(holds.begin(), holds.end(), false);
        bool holdsAny = false;
        while (const dirent* descriptor = ::readdir(descriptors.get())) {
            if (++sinceClockCheck == kDescriptorsPerClockCheck) {
                sinceClockCheck = 0;
                if (access::ScanClock::now() > deadline) {
                    return answer;
                }
            }
            if (descriptor->d_name[0] == '.') {
                continue;
            }
            // Pipes, sockets and the like read "pipe:[…]": only paths can be ports.
            const std::string_view text =
                LinkText(::dirfd(descriptors.get()), descriptor->d_name, buffer);
            if (text.empty() || text.front() != '/') {
                continue;
            }
            const auto found = portsByLinkText.find(text);
            if (found == portsByLinkText.end()) {
                continue;
            }
            for (const std::size_t port : found->second) {
                holds[port] = true;
                holdsAny = true;
            }
        }
        if (!holdsAny) {
            continue;
        }
        const access::PortHolder holder{CommandName(processFolder),
                                        static_cast<std::uint32_t>(std::stoul(process->d_name))};
        for (std::size_t port = 0; port < portNames.size(); ++port) {
            if (holds[port]) {
                answer.holders[portNames[port]].push_back(holder);
            }
        }
    }
    answer.complete = true;
    return answer;
}

} // namespace portmaven::linux_desktop
