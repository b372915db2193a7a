// The file system of Windows, through the kernel's file API.
#pragma once

#include "config/file_system.h"

#include <windows.h>

#include <string>

namespace portmaven::win {

class Win32FileSystem : public config::FileSystem {
public:
    [[nodiscard]] char16_t PathSeparator() const noexcept override { return u'\\'; }
    [[nodiscard]] std::optional<std::u16string> ModulePath() const override;
    [[nodiscard]] config::FileKind Kind(const std::u16string& path) const override;
    [[nodiscard]] std::optional<std::uint64_t> Size(const std::u16string& path) const override;
    [[nodiscard]] std::unique_ptr<config::InputFile>
    OpenForReading(const std::u16string& path) const override;
    [[nodiscard]] std::unique_ptr<config::OutputFile>
    CreateForWriting(const std::u16string& path) override;
    [[nodiscard]] std::optional<std::u16string>
    FinalPath(const std::u16string& path) const override;
    bool Replace(const std::u16string& source, const std::u16string& target) override;
    bool Remove(const std::u16string& path) override;
};

// What GetFileAttributesW's answer means for the command file.
config::FileKind FileKindFromAttributes(DWORD attributes) noexcept;

// The path in the form the file API accepts at any length: an absolute path as long as
// MAX_PATH or longer gets the "\\?\" prefix ("\\?\UNC\" for a share); others stay as they are.
std::wstring ExtendedLengthPath(const std::u16string& path);

} // namespace portmaven::win
