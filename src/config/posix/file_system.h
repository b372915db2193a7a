// The file system of a POSIX system: paths are UTF-16 here and UTF-8 on disk.
#pragma once

#include "config/file_system.h"

#include <filesystem>
#include <optional>

namespace portmaven::config {

// The file that writing to path is meant for: path itself when it is not a symbolic link (or
// nothing is there yet), else the file at the end of its chain of links, as an absolute path.
// Nothing when the chain leads nowhere or round in a circle.
[[nodiscard]] std::optional<std::filesystem::path> FinalPathOf(const std::filesystem::path& path);

class PosixFileSystem : public FileSystem {
public:
    [[nodiscard]] char16_t PathSeparator() const noexcept override { return u'/'; }
    [[nodiscard]] std::optional<std::u16string> ModulePath() const override;
    [[nodiscard]] FileKind Kind(const std::u16string& path) const override;
    [[nodiscard]] std::optional<std::uint64_t> Size(const std::u16string& path) const override;
    [[nodiscard]] std::unique_ptr<InputFile>
    OpenForReading(const std::u16string& path) const override;
    [[nodiscard]] std::unique_ptr<OutputFile> CreateForWriting(const std::u16string& path) override;
    [[nodiscard]] std::optional<std::u16string>
    FinalPath(const std::u16string& path) const override;
    bool Replace(const std::u16string& source, const std::u16string& target) override;
    bool Remove(const std::u16string& path) override;
};

} // namespace portmaven::config
