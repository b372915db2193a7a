// The command file "Portmaven.cfg" beside the executable: command records back to back, no
// header. Loading and saving go through a FileSystem so that they behave the same everywhere.
#pragma once

#include "config/command_list.h"
#include "config/file_system.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace portmaven::config {

inline constexpr std::u16string_view kCommandFileName = u"Portmaven.cfg";
inline constexpr std::u16string_view kDefaultCommandName = u"Connect";
inline constexpr std::u16string_view kDefaultCommandLine =
    u"C:\\Program Files\\TTERMPRO\\ttermpro.exe /C=%PORTNUM%";

// The one command a missing command file starts the list with; each platform names its own.
struct DefaultCommand {
    std::u16string_view name;
    std::u16string_view commandLine;
};
inline constexpr DefaultCommand kWindowsDefaultCommand{kDefaultCommandName, kDefaultCommandLine};

// Directory of the running executable, without a trailing separator. False, and directory
// untouched, when the executable's path is unknown or has no directory part.
bool GetModuleDirectory(const FileSystem& fileSystem, std::u16string& directory);

// Whether something that may be the file is there: anything but a plain directory (which
// then fails to open as a file if it is not one).
bool IsFilePresent(const FileSystem& fileSystem, const std::u16string& path);

// Size of a present file; 0 when it is absent or the size cannot be queried.
std::uint64_t QueryFileSize(const FileSystem& fileSystem, const std::u16string& path);

// Reads are made in pieces of this many bytes (whole records), each small enough to be worked
// on while it is still in the processor's cache.
inline constexpr std::uint32_t kReadPieceBytes = 100 * kRecordBytes;

// Reads up to byteCount bytes from the start of the file into buffer, calling arrived with the
// number of bytes in place after each piece. True only when every read succeeded, at least one
// byte was delivered and the file closed cleanly; delivered tells how many bytes arrived.
bool ReadFileToBuffer(const FileSystem& fileSystem, const std::u16string& path,
                      std::uint32_t byteCount, std::byte* buffer, std::uint32_t& delivered,
                      const std::function<void(std::uint32_t)>& arrived = {});

// Replaces the file's content with the bytes, atomically: the bytes go to a temporary file
// beside it, which is flushed and then put in its place. On any failure the file keeps its
// old content and the temporary file is removed. A read-only file is never replaced. When the
// path is a symbolic link, the file it finally leads to is the one replaced and the link stays;
// a link that leads nowhere or round in a circle is not saved through.
bool WriteBufferToFile(FileSystem& fileSystem, const std::u16string& path, const std::byte* buffer,
                       std::uint32_t byteCount);

// Appends the records held in the bytes of a command file to the list, in file order, and
// returns how many. A trailing piece shorter than a record is ignored; a field without a
// terminator keeps as many code units as fit before one.
std::size_t AppendCommandRecords(std::span<const std::byte> bytes, CommandList& list);

// Fills the list from the command file at path: the file's records; the default command when
// there is no file; nothing when the file cannot be read.
void LoadCommandFile(const FileSystem& fileSystem, const std::u16string& path, CommandList& list,
                     DefaultCommand defaultCommand);

// Writes the list to the command file at path; false when nothing was written.
bool SaveCommandFile(FileSystem& fileSystem, const std::u16string& path, const CommandList& list);

// LoadCommandFile for the command file beside the executable; nothing when the executable's
// directory is unknown.
void LoadCommandList(const FileSystem& fileSystem, CommandList& list,
                     DefaultCommand defaultCommand);

// SaveCommandFile for the command file beside the executable.
bool SaveCommandList(FileSystem& fileSystem, const CommandList& list);

} // namespace portmaven::config
