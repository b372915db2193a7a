#include "config/posix/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

namespace portmaven::config {
namespace {

// The UTF-8 form of a path; nothing for text that has none (a lone surrogate).
std::optional<std::string> NativePath(const std::u16string& path) {
    try {
        return std::filesystem::path(path).native();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// Owns a descriptor; closing it explicitly reports the outcome.
class Descriptor {
public:
    explicit Descriptor(int fd) noexcept : fd_(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&&) = delete;
    Descriptor& operator=(Descriptor&&) = delete;

    [[nodiscard]] int Get() const noexcept { return fd_; }
    [[nodiscard]] bool IsValid() const noexcept { return fd_ >= 0; }
    bool Close() noexcept { return fd_ < 0 || ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

class PosixInputFile : public InputFile {
public:
    explicit PosixInputFile(int fd) noexcept : fd_(fd) {}

    std::optional<std::uint32_t> Read(std::span<std::byte> destination) override {
        for (;;) {
            // A directory opens here, but reading it fails.
            const ssize_t read = ::read(fd_.Get(), destination.data(), destination.size());
            if (read >= 0) {
                return static_cast<std::uint32_t>(read);
            }
            if (errno != EINTR) {
                return std::nullopt;
            }
        }
    }
    bool Close() override { return fd_.Close(); }

private:
    Descriptor fd_;
};

class PosixOutputFile : public OutputFile {
public:
    explicit PosixOutputFile(int fd) noexcept : fd_(fd) {}

    bool Write(std::span<const std::byte> bytes) override {
        while (!bytes.empty()) {
            const ssize_t written = ::write(fd_.Get(), bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                return false;
            }
            bytes = bytes.subspan(static_cast<std::size_t>(written));
        }
        return true;
    }
    bool Flush() override { return ::fsync(fd_.Get()) == 0; }
    bool Close() override { return fd_.Close(); }

private:
    Descriptor fd_;
};

} // namespace

std::optional<std::filesystem::path> FinalPathOf(const std::filesystem::path& path) {
    struct stat status {};
    // Nothing there, or nothing that can be looked at: the save makes the file, or fails to,
    // at the path itself.
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
        return path;
    }
    // The whole chain, relative links taken from the folder of the link that holds them. A
    // link to nowhere fails here with ENOENT, a circle with ELOOP.
    std::error_code error;
    std::filesystem::path target = std::filesystem::canonical(path, error);
    if (error) {
        return std::nullopt;
    }
    return target;
}

std::optional<std::u16string> PosixFileSystem::ModulePath() const {
    try {
        std::error_code error;
        const std::filesystem::path executable =
            std::filesystem::read_symlink("/proc/self/exe", error);
        if (error || executable.empty()) {
            return std::nullopt;
        }
        return executable.u16string();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

FileKind PosixFileSystem::Kind(const std::u16string& path) const {
    const std::optional<std::string> native = NativePath(path);
    struct stat status {};
    if (!native || ::stat(native->c_str(), &status) != 0) {
        return FileKind::Missing;
    }
    // Read-only means that nobody is meant to write it, whatever root may do. A read-only
    // directory is something the user set apart, as on Windows: it is not a plain directory.
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return FileKind::ReadOnly;
    }
    return S_ISDIR(status.st_mode) ? FileKind::Directory : FileKind::File;
}

std::optional<std::uint64_t> PosixFileSystem::Size(const std::u16string& path) const {
    const std::optional<std::string> native = NativePath(path);
    struct stat status {};
    if (!native || ::stat(native->c_str(), &status) != 0) {
        return std::nullopt;
    }
    // Like Windows, a directory has no size of its own.
    return S_ISREG(status.st_mode) ? static_cast<std::uint64_t>(status.st_size) : 0;
}

std::unique_ptr<InputFile> PosixFileSystem::OpenForReading(const std::u16string& path) const {
    const std::optional<std::string> native = NativePath(path);
    if (!native) {
        return nullptr;
    }
    const int fd = ::open(native->c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<PosixInputFile>(fd);
}

std::unique_ptr<OutputFile> PosixFileSystem::CreateForWriting(const std::u16string& path) {
    const std::optional<std::string> native = NativePath(path);
    if (!native) {
        return nullptr;
    }
    const int fd = ::open(native->c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<PosixOutputFile>(fd);
}

std::optional<std::u16string> PosixFileSystem::FinalPath(const std::u16string& path) const {
    const std::optional<std::string> native = NativePath(path);
    if (!native) {
        return std::nullopt;
    }
    try {
        const std::optional<std::filesystem::path> target = FinalPathOf(*native);
        if (!target) {
            return std::nullopt;
        }
        return target->u16string();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool PosixFileSystem::Replace(const std::u16string& source, const std::u16string& target) {
    const std::optional<std::string> from = NativePath(source);
    const std::optional<std::string> to = NativePath(target);
    if (!from || !to) {
        return false;
    }
    // The new file was made with the default mode; it takes the one the old file had (a file
    // kept private stays private), and the save fails rather than change it.
    struct stat status {};
    if (::stat(to->c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
        ::chmod(from->c_str(), status.st_mode & 07777) != 0) {
        return false;
    }
    if (::rename(from->c_str(), to->c_str()) != 0) {
        return false;
    }
    // The rename is done; syncing the directory only makes it survive a power loss sooner, so
    // its outcome does not change the result.
    const std::string directory = std::filesystem::path(*to).parent_path().native();
    Descriptor fd(
        ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.IsValid()) {
        ::fsync(fd.Get());
    }
    return true;
}

bool PosixFileSystem::Remove(const std::u16string& path) {
    const std::optional<std::string> native = NativePath(path);
    return native && ::unlink(native->c_str()) == 0;
}

} // namespace portmaven::config
