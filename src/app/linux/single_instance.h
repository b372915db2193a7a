// One copy per user session: an exclusive lock on a file in the session's runtime folder. The
// lock lives as long as the open file, so a copy that crashed leaves nothing behind.
#pragma once

#include <filesystem>
#include <optional>

namespace portmaven::linux_desktop {

enum class InstanceState {
    First,          // this copy holds the lock
    AlreadyRunning, // another copy holds it
    Unavailable,    // the lock file cannot be opened
};

class SingleInstanceLock {
public:
    // $XDG_RUNTIME_DIR/portmaven.lock, or the temporary folder with the user id in the name.
    [[nodiscard]] static std::filesystem::path DefaultPath();

    explicit SingleInstanceLock(const std::filesystem::path& path);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;
    SingleInstanceLock(SingleInstanceLock&&) = delete;
    SingleInstanceLock& operator=(SingleInstanceLock&&) = delete;

    [[nodiscard]] InstanceState State() const noexcept { return state_; }

private:
    int fd_ = -1;
    InstanceState state_ = InstanceState::Unavailable;
};

} // namespace portmaven::linux_desktop
