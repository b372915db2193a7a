#include "config/command_file.h"

#include <bit>
#include <cstring>
#include <limits>
#include <memory>

namespace portmaven::config {

// A record's memory image is its file image only where char16_t is stored little-endian.
static_assert(std::endian::native == std::endian::little,
              "command records are read and written as UTF-16LE memory images");

namespace {

std::u16string CommandFilePath(const FileSystem& fileSystem, std::u16string_view directory) {
    std::u16string path;
    path.reserve(directory.size() + 1 + kCommandFileName.size());
    path.append(directory);
    path.push_back(fileSystem.PathSeparator());
    path.append(kCommandFileName);
    return path;
}

// The new content is written here first; a name of its own beside the file keeps the
// replacement on one volume, where it can be done in one step.
std::u16string TemporaryPathFor(const std::u16string& path) {
    return path + u".tmp";
}

} // namespace

bool GetModuleDirectory(const FileSystem& fileSystem, std::u16string& directory) {
    const std::optional<std::u16string> modulePath = fileSystem.ModulePath();
    if (!modulePath) {
        return false;
    }
    const std::size_t separator = modulePath->rfind(fileSystem.PathSeparator());
    if (separator == std::u16string::npos) {
        return false;
    }
    directory.assign(*modulePath, 0, separator);
    return true;
}

bool IsFilePresent(const FileSystem& fileSystem, const std::u16string& path) {
    const std::optional<std::uint32_t> attributes = fileSystem.Attributes(path);
    return attributes && *attributes != kAttributeDirectory;
}

std::uint64_t QueryFileSize(const FileSystem& fileSystem, const std::u16string& path) {
    if (!IsFilePresent(fileSystem, path)) {
        return 0;
    }
    return fileSystem.Size(path).value_or(0);
}

bool ReadFileToBuffer(const FileSystem& fileSystem, const std::u16string& path,
                      std::uint32_t byteCount, std::byte* buffer, std::uint32_t& delivered) {
    const std::optional<std::uint32_t> read = fileSystem.Read(path, {buffer, byteCount});
    delivered = read.value_or(0);
    return delivered > 0;
}

bool WriteBufferToFile(FileSystem& fileSystem, const std::u16string& path, const std::byte* buffer,
                       std::uint32_t byteCount) {
    // The user made the file read-only to keep its content. Windows refuses to replace such a
    // file, but POSIX rename and Wine's MoveFileExW would replace it silently.
    const std::optional<std::uint32_t> attributes = fileSystem.Attributes(path);
    if (attributes && (*attributes & kAttributeReadOnly) != 0) {
        return false;
    }
    const std::u16string temporary = TemporaryPathFor(path);
    std::unique_ptr<OutputFile> file = fileSystem.CreateForWriting(temporary);
    if (!file) {
        return false;
    }
    if (file->Write({buffer, byteCount}) && file->Flush() && file->Close() &&
        fileSystem.Replace(temporary, path)) {
        return true;
    }
    file.reset(); // an open file cannot be removed on Windows
    fileSystem.Remove(temporary);
    return false;
}

std::size_t AppendCommandRecords(std::span<const std::byte> bytes, CommandList& list) {
    const std::size_t count = bytes.size() / kRecordBytes;
    list.Reserve(list.GetCount() + count);
    for (std::size_t k = 0; k < count; ++k) {
        // Copied out first: the bytes need not be aligned for a record. AppendCommand keeps
        // each field's text up to its terminator, or up to the last unit of the field.
        tag_ST_PORTMAVEN_CONFIG record;
        std::memcpy(&record, bytes.data() + k * kRecordBytes, kRecordBytes);
        list.AppendCommand(record);
    }
    return count;
}

void LoadCommandList(const FileSystem& fileSystem, CommandList& list) {
    list.RemoveAllCommands();
    std::u16string directory;
    if (!GetModuleDirectory(fileSystem, directory)) {
        return;
    }
    const std::u16string path = CommandFilePath(fileSystem, directory);
    if (!IsFilePresent(fileSystem, path)) {
        list.AppendCommand(MakeCommandRecord(kDefaultCommandName, kDefaultCommandLine));
        return;
    }
    // The low 32 bits, as the file was always sized; a record count past that is not kept.
    const auto size = static_cast<std::uint32_t>(QueryFileSize(fileSystem, path));
    // Only the bytes the read delivers are looked at, so the buffer need not be zeroed.
    const auto buffer = std::make_unique_for_overwrite<std::byte[]>(size);
    std::uint32_t delivered = 0;
    if (!ReadFileToBuffer(fileSystem, path, size, buffer.get(), delivered)) {
        return;
    }
    // A file that shrank between the size query and the read gives only what was delivered.
    AppendCommandRecords({buffer.get(), delivered}, list);
}

bool SaveCommandList(FileSystem& fileSystem, const CommandList& list) {
    std::u16string directory;
    if (!GetModuleDirectory(fileSystem, directory)) {
        return false;
    }
    const std::size_t byteCount = list.StorageBytes();
    if (byteCount > std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    return WriteBufferToFile(fileSystem, CommandFilePath(fileSystem, directory), list.Storage(),
                             static_cast<std::uint32_t>(byteCount));
}

} // namespace portmaven::config
