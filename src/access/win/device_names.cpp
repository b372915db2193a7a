#include "access/win/device_names.h"

#include "framework/win/system_function.h"
#include "framework/win/scoped_handle.h"

#include <windows.h>

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

namespace portmaven::win {

namespace {

// Wine's own exports from kernel32, between Windows and Unix file names; absent on Windows.
using UnixFileNameFunction = char*(CDECL*)(LPCWSTR);
using DosFileNameFunction = WCHAR*(CDECL*)(LPCSTR);

// Wine hands its answers over on the process heap.
struct HeapText {
    void operator()(void* text) const noexcept { ::HeapFree(::GetProcessHeap(), 0, text); }
};

// Where Wine keeps the device files a port entry may lead to: the devices themselves and the
// pseudo-terminals.
constexpr std::array<const char*, 2> kUnixDeviceFolders = {"/dev", "/dev/pts"};

std::optional<std::wstring> KernelDeviceName(std::wstring_view portName) {
    const std::wstring port(portName);
    std::vector<wchar_t> target(1024);
    if (::QueryDosDeviceW(port.c_str(), target.data(), static_cast<DWORD>(target.size())) == 0 ||
        target[0] == L'\0') {
        return std::nullopt;
    }
    return std::wstring(target.data());
}

struct FolderEntry {
    std::wstring name;
    LONGLONG changeTime = 0;
};

// The entries of a folder with the change time of what each leads to (Wine follows links in a
// listing), read without opening any of them.
std::vector<FolderEntry> ListFolder(const std::wstring& folder) {
    ScopedFileHandle directory(::CreateFileW(
        folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    std::vector<FolderEntry> entries;
    if (!directory) {
        return entries;
    }
    // DWORD-aligned records, each pointing to the next.
    std::vector<DWORD> buffer(std::size_t{16} << 10);
    FILE_INFO_BY_HANDLE_CLASS request = FileIdBothDirectoryRestartInfo;
    while (::GetFileInformationByHandleEx(directory.Get(), request, buffer.data(),
                                          static_cast<DWORD>(buffer.size() * sizeof(DWORD)))) {
        request = FileIdBothDirectoryInfo;
        const auto* bytes = reinterpret_cast<const std::byte*>(buffer.data());
        for (std::size_t offset = 0;;) {
            const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(bytes + offset);
            if ((entry->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                entries.push_back(
                    {std::wstring(entry->FileName, entry->FileNameLength / sizeof(wchar_t)),
                     entry->ChangeTime.QuadPart});
            }
            if (entry->NextEntryOffset == 0) {
                break;
            }
            offset += entry->NextEntryOffset;
        }
    }
    return entries;
}

std::optional<std::wstring> WindowsPathOfUnixFile(DosFileNameFunction dosFileName,
                                                  const char* unixPath) {
    const std::unique_ptr<WCHAR, HeapText> path(dosFileName(unixPath));
    if (!path) {
        return std::nullopt;
    }
    return std::wstring(path.get());
}

// The object name of a handle to a Windows path: "Z:\dev\pts\0" is "\??\Z:\dev\pts\0", a path
// outside every drive ("\\?\unix\dev\pts\0") is "\??\unix\dev\pts\0".
std::wstring ObjectNameOfPath(const std::wstring& path) {
    constexpr std::wstring_view kLongPathPrefix = L"\\\\?\\";
    if (path.starts_with(kLongPathPrefix)) {
        return L"\\??\\" + path.substr(kLongPathPrefix.size());
    }
    return L"\\??\\" + path;
}

// The device file the port's dosdevices entry leads to: the one file in the device folders
// whose change time is the entry's. Two such files, and the port is not known.
std::optional<std::wstring> WineDeviceName(std::wstring_view portName) {
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    const auto unixFileName =
        ResolveFunction<UnixFileNameFunction>(kernel, "wine_get_unix_file_name");
    const auto dosFileName = ResolveFunction<DosFileNameFunction>(kernel, "wine_get_dos_file_name");
    if (unixFileName == nullptr || dosFileName == nullptr) {
        return std::nullopt;
    }
    const std::wstring device = L"\\\\.\\" + std::wstring(portName);
    const std::unique_ptr<char, HeapText> entryPath(unixFileName(device.c_str()));
    if (!entryPath) {
        return std::nullopt;
    }
    const std::optional<std::wstring> entry = WindowsPathOfUnixFile(dosFileName, entryPath.get());
    if (!entry) {
        return std::nullopt;
    }
    const std::size_t slash = entry->find_last_of(L'\\');
    if (slash == std::wstring::npos) {
        return std::nullopt;
    }
    const std::wstring entryName = entry->substr(slash + 1);
    std::optional<LONGLONG> entryChanged;
    for (const FolderEntry& listed : ListFolder(entry->substr(0, slash))) {
        if (::CompareStringOrdinal(listed.name.c_str(), -1, entryName.c_str(), -1, TRUE) ==
            CSTR_EQUAL) {
            entryChanged = listed.changeTime;
        }
    }
    if (!entryChanged) {
        return std::nullopt;
    }
    std::optional<std::wstring> found;
    for (const char* unixFolder : kUnixDeviceFolders) {
        const std::optional<std::wstring> folder = WindowsPathOfUnixFile(dosFileName, unixFolder);
        if (!folder) {
            continue;
        }
        for (const FolderEntry& listed : ListFolder(*folder)) {
            if (listed.changeTime != *entryChanged) {
                continue;
            }
            if (found) {
                return std::nullopt;
            }
            found = ObjectNameOfPath(*folder + L"\\" + listed.name);
        }
    }
    return found;
}

} // namespace

std::vector<std::wstring> DeviceNamesOf(std::wstring_view portName) {
    std::vector<std::wstring> names;
    for (const std::optional<std::wstring>& name :
         {KernelDeviceName(portName), WineDeviceName(portName)}) {
        if (name) {
            names.push_back(*name);
        }
    }
    return names;
}

} // namespace portmaven::win
