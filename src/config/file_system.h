// The few file operations the command file needs, behind an interface so that the load and
// save logic is the same on every platform and can be tested with a file system that fails on
// purpose. Names avoid the Win32 API's macro names (CreateFile, ReplaceFile, ...).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace portmaven::config {

// What a path names, as far as the command file is concerned. Each platform decides how its
// own file attributes map onto these.
enum class FileKind {
    Missing,   // nothing there, or the system cannot tell
    Directory, // a plain directory: never taken for the file
    ReadOnly,  // something there that its owner keeps from being written
    File,      // anything else that is there
};

// A file open for reading, from its start. Destroying it closes it without reporting the outcome.
class InputFile {
public:
    InputFile() = default;
    virtual ~InputFile() = default;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    InputFile(InputFile&&) = delete;
    InputFile& operator=(InputFile&&) = delete;

    // Reads the next bytes into destination: how many arrived (0 at the end of the file), or
    // nothing when the read failed.
    virtual std::optional<std::uint32_t> Read(std::span<std::byte> destination) = 0;
    virtual bool Close() = 0;
};

// A file open for writing. Destroying it closes it without reporting the outcome.
class OutputFile {
public:
    OutputFile() = default;
    virtual ~OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    OutputFile(OutputFile&&) = delete;
    OutputFile& operator=(OutputFile&&) = delete;

    // Writes all the bytes or fails.
    virtual bool Write(std::span<const std::byte> bytes) = 0;
    // Hands the written bytes to the storage device.
    virtual bool Flush() = 0;
    virtual bool Close() = 0;
};

class FileSystem {
public:
    FileSystem() = default;
    virtual ~FileSystem() = default;
    FileSystem(const FileSystem&) = delete;
    FileSystem& operator=(const FileSystem&) = delete;
    FileSystem(FileSystem&&) = delete;
    FileSystem& operator=(FileSystem&&) = delete;

    // What joins a directory and a name in a path.
    [[nodiscard]] virtual char16_t PathSeparator() const noexcept = 0;

    // Full path of the running executable; nothing when the system cannot tell.
    [[nodiscard]] virtual std::optional<std::u16string> ModulePath() const = 0;

    [[nodiscard]] virtual FileKind Kind(const std::u16string& path) const = 0;

    // Size in bytes; nothing when it cannot be queried.
    [[nodiscard]] virtual std::optional<std::uint64_t> Size(const std::u16string& path) const = 0;

    // Opens an existing file for reading, letting others only read it meanwhile; null on
    // failure (also for a directory).
    [[nodiscard]] virtual std::unique_ptr<InputFile>
    OpenForReading(const std::u16string& path) const = 0;

    // Creates the file, or truncates it when it exists; null on failure.
    [[nodiscard]] virtual std::unique_ptr<OutputFile>
    CreateForWriting(const std::u16string& path) = 0;

    // The file that writing to path is meant for: path itself, or, when path is a symbolic
    // link, the file at the end of its chain of links. Nothing when the chain leads nowhere or
    // round in a circle, or when the system cannot tell.
    [[nodiscard]] virtual std::optional<std::u16string>
    FinalPath(const std::u16string& path) const = 0;

    // Puts source in the place of target in one step, replacing target when it exists. A
    // replaced target's permissions stay: the new content is not to be open to more readers,
    // nor to fewer, than the old one.
    virtual bool Replace(const std::u16string& source, const std::u16string& target) = 0;

    virtual bool Remove(const std::u16string& path) = 0;
};

} // namespace portmaven::config
