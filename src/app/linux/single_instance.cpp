#include "app/linux/single_instance.h"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace portmaven::linux_desktop {

namespace {

constexpr char kLockFileName[] = "portmaven.lock";

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) noexcept : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&&) = delete;
    FileDescriptor& operator=(FileDescriptor&&) = delete;

    [[nodiscard]] int Get() const noexcept { return fd_; }
    [[nodiscard]] int Release() noexcept { return std::exchange(fd_, -1); }
    explicit operator bool() const noexcept { return fd_ >= 0; }

private:
    int fd_;
};

// What the descriptor is open on is of the kind given and this user's own; a folder also closed
// to everybody else, so that no one else can put a lock file of theirs into it.
bool IsOwnAndPrivate(int fd, mode_t kind) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || (info.st_mode & S_IFMT) != kind || info.st_uid != ::geteuid()) {
        return false;
    }
    return kind != S_IFDIR || (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

std::string FolderName(int attempt) {
    std::string name = "portmaven-" + std::to_string(::geteuid());
    if (attempt > 0) {
        name += "-" + std::to_string(attempt);
    }
    return name;
}

} // namespace

std::filesystem::path SingleInstanceLock::TemporaryFolder() {
    std::error_code error;
    std::filesystem::path temp = std::filesystem::temp_directory_path(error);
    return error ? std::filesystem::path("/tmp") : temp;
}

SingleInstanceLock::SingleInstanceLock(const std::filesystem::path& temporaryFolder) {
    // The session's own folder is made by the session, never here.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && std::filesystem::path(runtime).is_absolute() &&
        TryFolder(runtime, false)) {
        return;
    }
    for (int attempt = 0; attempt < kLockFolderTries; ++attempt) {
        if (TryFolder(temporaryFolder / FolderName(attempt), true)) {
            return;
        }
    }
    path_.clear();
    const std::string first = (temporaryFolder / FolderName(0)).string();
    problem_ =
        "Portmaven needs a folder that only you can use for its lock, and found none: " + first +
        " and " + first + "-1 to -" + std::to_string(kLockFolderTries - 1) +
        " belong to someone else, are open to others or cannot be made. Set "
        "XDG_RUNTIME_DIR to a private folder of yours, or remove those in the way.";
}

bool SingleInstanceLock::TryFolder(const std::filesystem::path& folder, bool mayCreate) {
    // The folder is made closed, and the check is made on what was opened, not on the name, so
    // that nothing can be swapped in between; a link is never followed.
    if (mayCreate && ::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    const FileDescriptor directory(
        ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!directory || !IsOwnAndPrivate(directory.Get(), S_IFDIR)) {
        return false;
    }
    FileDescriptor file(
        ::openat(directory.Get(), kLockFileName, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!file || !IsOwnAndPrivate(file.Get(), S_IFREG)) {
        return false;
    }
    path_ = folder / kLockFileName;
    if (::flock(file.Get(), LOCK_EX | LOCK_NB) == 0) {
        state_ = InstanceState::First;
        fd_ = file.Release();
        return true;
    }
    if (errno == EWOULDBLOCK) {
        state_ = InstanceState::AlreadyRunning;
        return true;
    }
    // A file system without locks, or another failure: the next folder may do better.
    return false;
}

SingleInstanceLock::~SingleInstanceLock() {
    if (fd_ >= 0) {
        // The file stays: removing it could let a third copy lock a new file while a second
        // one still holds the old one.
        ::close(fd_);
    }
}

} // namespace portmaven::linux_desktop
