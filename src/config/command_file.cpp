#include "config/command_file.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace portmaven::config {

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
    const FileKind kind = fileSystem.Kind(path);
    return kind == FileKind::File || kind == FileKind::ReadOnly;
}

std::uint64_t QueryFileSize(const FileSystem& fileSystem, const std::u16string& path) {
    if (!IsFilePresent(fileSystem, path)) {
        return 0;
    }
    return fileSystem.Size(path).value_or(0);
}

bool ReadFileToBuffer(const FileSystem& fileSystem, const std::u16string& path,
                      std::uint32_t byteCount, std::byte* buffer, std::uint32_t& delivered,
                      const std::function<void(std::uint32_t)>& arrived) {
    delivered = 0;
    const std::unique_ptr<InputFile> file = fileSystem.OpenForReading(path);
    if (!file) {
        return false;
    }
    while (delivered < byteCount) {
        const std::uint32_t piece = std::min(byteCount - delivered, kReadPieceBytes);
        const std::optional<std::uint32_t> read = file->Read({buffer + delivered, piece});
        if (!read) {
            return false;
        }
        if (*read == 0) {
            break; // the file is shorter than it was
        }
        delivered += *read;
        if (arrived) {
            arrived(delivered);
        }
    }
    return file->Close() && delivered > 0;
}

bool WriteBufferToFile(FileSystem& fileSystem, const std::u16string& path, const std::byte* buffer,
                       std::uint32_t byteCount) {
    // A path that is a link (into a folder the user keeps under version control, say) is saved
    // through: the file it leads to gets the new content and the link stays a link. Replacing
    // the link itself would silently cut that file off. A link that leads nowhere or round in
    // a circle is refused as it is: making a file where a link leads nowhere could write into a
    // place the user gave up, and the link itself is all there is to keep.
    const std::optional<std::u16string> target = fileSystem.FinalPath(path);
    if (!target) {
        return false;
    }
    // The user made the file read-only to keep its content. Windows refuses to replace such a
    // file, but POSIX rename and Wine's MoveFileExW would replace it silently.
    if (fileSystem.Kind(*target) == FileKind::ReadOnly) {
        return false;
    }
    const std::u16string temporary = TemporaryPathFor(*target);
    std::unique_ptr<OutputFile> file = fileSystem.CreateForWriting(temporary);
    if (!file) {
        return false;
    }
    if (file->Write({buffer, byteCount}) && file->Flush() && file->Close() &&
        fileSystem.Replace(temporary, *target)) {
        return true;
    }
    file.reset(); // an open file cannot be removed on Windows
    fileSystem.Remove(temporary);
    return false;
}

std::size_t AppendCommandRecords(std::span<const std::byte> bytes, CommandList& list) {
    return list.AppendRecordImages(bytes.size() / kRecordBytes,
                                   [&](std::span<std::byte> slots, auto) {
                                       if (!slots.empty()) {
                                           std::memcpy(slots.data(), bytes.data(), slots.size());
                                       }
                                       return slots.size();
                                   });
}

void LoadCommandFile(const FileSystem& fileSystem, const std::u16string& path, CommandList& list,
                     DefaultCommand defaultCommand) {
    list.RemoveAllCommands();
    if (!IsFilePresent(fileSystem, path)) {
        list.AppendCommand(MakeCommandRecord(defaultCommand.name, defaultCommand.commandLine));
        return;
    }
    // The low 32 bits, as the file was always sized; a record count past that is not kept.
    const auto size = static_cast<std::uint32_t>(QueryFileSize(fileSystem, path));
    // The records are read straight into the list, and each piece is checked as it arrives. A
    // trailing piece shorter than a record would be ignored, so it is not read. A failed read
    // keeps nothing; one that delivers less than asked (the file shrank meanwhile) keeps the
    // whole records.
    list.AppendRecordImages(size / kRecordBytes, [&](std::span<std::byte> slots, auto arrived) {
        std::uint32_t delivered = 0;
        const bool read =
            ReadFileToBuffer(fileSystem, path, static_cast<std::uint32_t>(slots.size()),
                             slots.data(), delivered, arrived);
        return read ? std::size_t{delivered} : 0;
    });
}

void LoadCommandList(const FileSystem& fileSystem, CommandList& list,
                     DefaultCommand defaultCommand) {
    std::u16string directory;
    if (!GetModuleDirectory(fileSystem, directory)) {
        list.RemoveAllCommands();
        return;
    }
    LoadCommandFile(fileSystem, CommandFilePath(fileSystem, directory), list, defaultCommand);
}

bool SaveCommandFile(FileSystem& fileSystem, const std::u16string& path, const CommandList& list) {
    const std::size_t byteCount = list.StorageBytes();
    if (byteCount > std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    return WriteBufferToFile(fileSystem, path, list.Storage(),
                             static_cast<std::uint32_t>(byteCount));
}

bool SaveCommandList(FileSystem& fileSystem, const CommandList& list) {
    std::u16string directory;
    if (!GetModuleDirectory(fileSystem, directory)) {
        return false;
    }
    return SaveCommandFile(fileSystem, CommandFilePath(fileSystem, directory), list);
}

} // namespace portmaven::config
