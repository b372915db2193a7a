#include "config/win/file_system.h"

#include "framework/win/scoped_handle.h"
#include "framework/win/wide_text.h"
#include "framework/win/application.h"

#include <windows.h>

#include <utility>

namespace portmaven::win {
namespace {

// Closes the handle and says whether that worked; the owner no longer holds it afterwards.
bool CloseChecked(ScopedFileHandle& file) noexcept {
    return ::CloseHandle(file.Release()) != FALSE;
}

class Win32InputFile : public config::InputFile {
public:
    explicit Win32InputFile(ScopedFileHandle file) noexcept : file_(std::move(file)) {}

    std::optional<std::uint32_t> Read(std::span<std::byte> destination) override {
        DWORD read = 0;
        if (!::ReadFile(file_.Get(), destination.data(), static_cast<DWORD>(destination.size()),
                        &read, nullptr)) {
            return std::nullopt;
        }
        return read;
    }
    bool Close() override { return CloseChecked(file_); }

private:
    ScopedFileHandle file_;
};

class Win32OutputFile : public config::OutputFile {
public:
    explicit Win32OutputFile(ScopedFileHandle file) noexcept : file_(std::move(file)) {}

    bool Write(std::span<const std::byte> bytes) override {
        DWORD written = 0;
        // A short write would leave a cut-off list in place of the old one: it is a failure.
        return ::WriteFile(file_.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                           nullptr) != FALSE &&
               written == bytes.size();
    }
    bool Flush() override { return ::FlushFileBuffers(file_.Get()) != FALSE; }
    bool Close() override { return CloseChecked(file_); }

private:
    ScopedFileHandle file_;
};

// The final path of an open file: on its drive letter or share where it has one, else on its
// volume's name. The "\\?\" prefix is dropped from a drive or share path, so that the path
// reads as the user's own do; ExtendedLengthPath puts it back where the length needs it.
std::optional<std::u16string> FinalPathOfHandle(HANDLE file) {
    for (const DWORD volume : {VOLUME_NAME_DOS, VOLUME_NAME_GUID}) {
        std::wstring path(MAX_PATH, L'\0');
        for (;;) {
            const DWORD length = ::GetFinalPathNameByHandleW(
                file, path.data(), static_cast<DWORD>(path.size()), FILE_NAME_NORMALIZED | volume);
            if (length == 0) {
                break;
            }
            if (length < path.size()) { // it fitted: length leaves out the terminator
                path.resize(length);
                if (path.starts_with(L"\\\\?\\UNC\\")) {
                    return ToUtf16(L"\\\\" + path.substr(8));
                }
                const bool drivePath = path.starts_with(L"\\\\?\\") && path.size() >= 7 &&
                                       path[5] == L':' && path[6] == L'\\';
                return ToUtf16(drivePath ? path.substr(4) : path);
            }
            path.resize(length); // too small: length is the size needed, terminator included
        }
    }
    return std::nullopt;
}

// Whether the system says plainly that nothing has the path's name. A link that leads nowhere
// still has an entry of its own in its folder: Windows finds it; Wine, which shows a Unix link
// as the file it leads to, finds it and then passes over it, without "not found".
bool NothingNamed(const std::wstring& path) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(path.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        ::FindClose(search);
        return false;
    }
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

} // namespace

std::wstring ExtendedLengthPath(const std::u16string& path) {
    std::wstring wide = ToWide(path);
    if (wide.size() < MAX_PATH || wide.starts_with(L"\\\\?\\") || wide.starts_with(L"\\\\.\\")) {
        return wide;
    }
    if (wide.starts_with(L"\\\\")) {
        return L"\\\\?\\UNC\\" + wide.substr(2);
    }
    const bool drivePath = wide.size() >= 3 && wide[1] == L':' && wide[2] == L'\\';
    return drivePath ? L"\\\\?\\" + wide : wide;
}

std::optional<std::u16string> Win32FileSystem::ModulePath() const {
    std::wstring path = ModuleFileName();
    if (path.empty()) {
        return std::nullopt;
    }
    return ToUtf16(path);
}

config::FileKind FileKindFromAttributes(DWORD attributes) noexcept {
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return config::FileKind::Missing;
    }
    // Only a plain directory is not the file: one with any further bit (hidden, read-only,
    // archive) counts as present, and then fails to open.
    if (attributes == FILE_ATTRIBUTE_DIRECTORY) {
        return config::FileKind::Directory;
    }
    return (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? config::FileKind::ReadOnly
                                                       : config::FileKind::File;
}

config::FileKind Win32FileSystem::Kind(const std::u16string& path) const {
    return FileKindFromAttributes(::GetFileAttributesW(ExtendedLengthPath(path).c_str()));
}

std::optional<std::uint64_t> Win32FileSystem::Size(const std::u16string& path) const {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(ExtendedLengthPath(path).c_str(), GetFileExInfoStandard, &data)) {
        return std::nullopt;
    }
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::unique_ptr<config::InputFile>
Win32FileSystem::OpenForReading(const std::u16string& path) const {
    ScopedFileHandle file(::CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return nullptr;
    }
    return std::make_unique<Win32InputFile>(std::move(file));
}

std::unique_ptr<config::OutputFile> Win32FileSystem::CreateForWriting(const std::u16string& path) {
    ScopedFileHandle file(::CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_WRITE,
                                        FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return nullptr;
    }
    return std::make_unique<Win32OutputFile>(std::move(file));
}

std::optional<std::u16string> Win32FileSystem::FinalPath(const std::u16string& path) const {
    const std::wstring extended = ExtendedLengthPath(path);
    // Opened without FILE_FLAG_OPEN_REPARSE_POINT, the system follows the chain of links to its
    // end. No access is asked, so a file that someone holds without sharing still opens.
    const ScopedFileHandle file(
        ::CreateFileW(extended.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        // Nothing there at all: the save makes the file at the path itself. Anything else (a
        // link to nowhere, a circle of links, a folder, no access) is not saved through.
        if ((error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) &&
            NothingNamed(extended)) {
            return path;
        }
        return std::nullopt;
    }
    return FinalPathOfHandle(file.Get());
}

bool Win32FileSystem::Replace(const std::u16string& source, const std::u16string& target) {
    // The temporary file was made in the target's folder, so it has the access rights that
    // folder hands down to its files, as the target has. Write-through: the call returns only
    // once the new name is on the disk.
    return ::MoveFileExW(ExtendedLengthPath(source).c_str(), ExtendedLengthPath(target).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool Win32FileSystem::Remove(const std::u16string& path) {
    return ::DeleteFileW(ExtendedLengthPath(path).c_str()) != FALSE;
}

} // namespace portmaven::win
