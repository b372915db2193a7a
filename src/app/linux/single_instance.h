// One copy per user session: an exclusive lock on a file in a folder that only this user may
// use, the session's runtime folder or one of the user's own in the temporary folder. The lock
// lives as long as the open file, so a copy that crashed leaves nothing behind.
#pragma once

#include <filesystem>
#include <string>

namespace portmaven::linux_desktop {

enum class InstanceState {
    First,          // this copy holds the lock
    AlreadyRunning, // another copy holds it
    Unavailable,    // no private folder could be had for it (Problem says why)
};

// How many folders of the user's the temporary folder is searched for: a stray folder or two
// of someone else's by those names do not keep the program from starting.
inline constexpr int kLockFolderTries = 10;

class SingleInstanceLock {
public:
    // $TMPDIR, else /tmp.
    [[nodiscard]] static std::filesystem::path TemporaryFolder();

    // Locks portmaven.lock in $XDG_RUNTIME_DIR, or when that is not a private folder of the
    // user's, in the first of <temporaryFolder>/portmaven-<uid>, portmaven-<uid>-1, ... that is
    // one or is missing and is made one (mode 0700). It passes by a link, a folder that someone
    // else owns and a folder that others may enter: whatever is there, nothing is followed.
    explicit SingleInstanceLock(const std::filesystem::path& temporaryFolder);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;
    SingleInstanceLock(SingleInstanceLock&&) = delete;
    SingleInstanceLock& operator=(SingleInstanceLock&&) = delete;

    [[nodiscard]] InstanceState State() const noexcept { return state_; }
    // The lock file, once a private folder was found for it.
    [[nodiscard]] const std::filesystem::path& Path() const noexcept { return path_; }
    // Why the state is Unavailable, in words for the user; empty otherwise.
    [[nodiscard]] const std::string& Problem() const noexcept { return problem_; }

private:
    bool TryFolder(const std::filesystem::path& folder, bool mayCreate);

    int fd_ = -1;
    InstanceState state_ = InstanceState::Unavailable;
    std::filesystem::path path_;
    std::string problem_;
};

} // namespace portmaven::linux_desktop
