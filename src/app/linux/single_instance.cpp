#include "app/linux/single_instance.h"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace portmaven::linux_desktop {

std::filesystem::path SingleInstanceLock::DefaultPath() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        runtime != nullptr && std::filesystem::path(runtime).is_absolute()) {
        return std::filesystem::path(runtime) / "portmaven.lock";
    }
    std::error_code error;
    std::filesystem::path temp = std::filesystem::temp_directory_path(error);
    if (error) {
        temp = "/tmp";
    }
    return temp / ("portmaven-" + std::to_string(::getuid()) + ".lock");
}

SingleInstanceLock::SingleInstanceLock(const std::filesystem::path& path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        return;
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
        state_ = InstanceState::First;
        return;
    }
    state_ = errno == EWOULDBLOCK ? InstanceState::AlreadyRunning : InstanceState::Unavailable;
    ::close(fd_);
    fd_ = -1;
}

SingleInstanceLock::~SingleInstanceLock() {
    if (fd_ >= 0) {
        // The file stays: removing it could let a third copy lock a new file while a second
        // one still holds the old one.
        ::close(fd_);
    }
}

} // namespace portmaven::linux_desktop
