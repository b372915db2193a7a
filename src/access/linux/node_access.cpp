#include "access/linux/node_access.h"

#include <QString>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <type_traits>
#include <vector>

namespace portmaven::linux_desktop {

namespace {

// The lookups' buffers start at this size and double while the system asks for more.
constexpr std::size_t kFirstBufferSize = 1024;
constexpr std::size_t kLargestBufferSize = std::size_t{1} << 20;

std::u16string FromSystem(const char* text) {
    return QString::fromLocal8Bit(text).toStdU16String();
}

// Calls a reentrant lookup of the user and group databases (`getgrgid_r`, `getpwuid_r`) with a
// buffer that grows while the system asks for more, and reads what is needed of the entry while
// the buffer its texts live in is there; nothing when there is no entry or the lookup fails.
template <typename Entry, typename Lookup, typename Read>
auto LookUpEntry(const Lookup& lookup, const Read& read)
    -> std::optional<std::invoke_result_t<Read, const Entry&>> {
    for (std::size_t size = kFirstBufferSize; size <= kLargestBufferSize; size *= 2) {
        std::vector<char> buffer(size);
        Entry entry{};
        Entry* found = nullptr;
        const int error = lookup(&entry, buffer.data(), buffer.size(), &found);
        if (error == ERANGE) {
            continue;
        }
        if (error != 0 || found == nullptr) {
            return std::nullopt;
        }
        return read(*found);
    }
    return std::nullopt;
}

std::optional<std::u16string> GroupName(gid_t gid) {
    return LookUpEntry<group>(
        [gid](group* entry, char* buffer, std::size_t size, group** found) {
            return ::getgrgid_r(gid, entry, buffer, size, found);
        },
        [](const group& entry) { return FromSystem(entry.gr_name); });
}

struct UserEntry {
    std::string name;
    gid_t group = 0;
};

std::optional<UserEntry> User(uid_t uid) {
    return LookUpEntry<passwd>(
        [uid](passwd* entry, char* buffer, std::size_t size, passwd** found) {
            return ::getpwuid_r(uid, entry, buffer, size, found);
        },
        [](const passwd& entry) {
            return UserEntry{entry.pw_name, entry.pw_gid};
        });
}

// The user's groups as the group database lists them: what a new log-in would give.
bool InGroupDatabase(const UserEntry& user, gid_t gid) {
    int count = 32;
    std::vector<gid_t> groups;
    for (int attempt = 0; attempt < 8; ++attempt) {
        groups.resize(static_cast<std::size_t>(count));
        const int asked = count;
        if (::getgrouplist(user.name.c_str(), user.group, groups.data(), &count) >= 0) {
            groups.resize(static_cast<std::size_t>(count));
            return std::ranges::find(groups, gid) != groups.end();
        }
        // Too few places: count now says how many it takes.
        count = std::max(count, asked * 2);
    }
    return false;
}

// The groups this session's processes run with.
bool InSessionGroups(gid_t gid) {
    if (::getgid() == gid || ::getegid() == gid) {
        return true;
    }
    const int count = ::getgroups(0, nullptr);
    if (count <= 0) {
        return false;
    }
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int read = ::getgroups(count, groups.data());
    groups.resize(static_cast<std::size_t>(std::max(read, 0)));
    return std::ranges::find(groups, gid) != groups.end();
}

} // namespace

access::NodeAccessFacts ReadNodeAccess(const std::string& node) {
    access::NodeAccessFacts facts;
    // access() answers for the real user and the session's groups, as opening would.
    if (node.empty() || ::access(node.c_str(), R_OK | W_OK) == 0 || errno != EACCES) {
        return facts;
    }
    // The device node itself, on /dev: looking at it cannot hang as a network mount can.
    struct stat status {};
    if (::stat(node.c_str(), &status) != 0) {
        return facts;
    }
    facts.denied = true;
    facts.groupMayReadWrite =
        (status.st_mode & (S_IRGRP | S_IWGRP)) == static_cast<mode_t>(S_IRGRP | S_IWGRP);
    facts.superuserGroup = status.st_gid == 0;
    facts.group = GroupName(status.st_gid).value_or(std::u16string{});
    if (const std::optional<UserEntry> user = User(::getuid())) {
        facts.user = FromSystem(user->name.c_str());
        facts.memberInDatabase = InGroupDatabase(*user, status.st_gid);
    }
    facts.memberInSession = InSessionGroups(status.st_gid);
    return facts;
}

void NoteNodeAccess(std::vector<ports::SerialPort>& ports) {
    for (ports::SerialPort& port : ports) {
        const ports::PortAccess trouble = access::AccessTroubleOf(
            ReadNodeAccess(QStringView(port.name).toString().toStdString()));
        port.access.trouble = trouble.trouble;
        port.access.group = trouble.group;
        port.access.user = trouble.user;
    }
}

} // namespace portmaven::linux_desktop
