// The file system of a POSIX system: paths are UTF-16 here and UTF-8 on disk.
#pragma once

#include "config/file_system.h"

namespace portmaven::config {

class PosixFileSystem : public FileSystem {
public:
    [[nodiscard]] char16_t PathSeparator() const noexcept override { return u'/'; }
    [[nodiscard]] std::optional<std::u16string> ModulePath() const override;
    [[nodiscard]] FileKind Kind(const std::u16string& path) const override;
    [[nodiscard]] std::optional<std::uint64_t> Size(const std::u16string& path) const override;
    [[nodiscard]] std::unique_ptr<InputFile>
    OpenForReading(const std::u16string& path) const override;
    [[nodiscard]] std::unique_ptr<OutputFile> CreateForWriting(const std::u16string& path) override;
    bool Replace(const std::u16string& source, const std::u16string& target) override;
    bool Remove(const std::u16string& path) override;
};

} // namespace portmaven::config
