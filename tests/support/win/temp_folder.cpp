#include "support/win/temp_folder.h"

#include "config/win/file_system.h"
#include "framework/win/wide_text.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>

namespace portmaven::win::test_support {

namespace {

void RemoveLongTree(const std::wstring& path) {
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring child = path + L"\\" + name;
            ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                RemoveLongTree(child);
            } else {
                ::DeleteFileW(child.c_str());
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(path.c_str());
}

} // namespace

void RemoveTree(const std::wstring& path) {
    // The extended-length form reaches children deeper than MAX_PATH.
    RemoveLongTree(ExtendedLengthPath(ToUtf16(path)));
}

std::wstring TempPath() {
    wchar_t temp[MAX_PATH + 1]{};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    std::wstring base(temp, length);
    while (!base.empty() && base.back() == L'\\') {
        base.pop_back();
    }
    return base;
}

std::vector<std::wstring> FileNames(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data{};
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(name);
        }
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

TempFolder::TempFolder(std::wstring_view prefix) {
    static std::atomic<int> counter{0};
    path_ = TempPath() + L"\\" + std::wstring(prefix) + L"-" +
            std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(counter++);
    RemoveTree(path_);
    if (!::CreateDirectoryW(path_.c_str(), nullptr)) {
        throw std::runtime_error("cannot create the test folder");
    }
}

TempFolder::~TempFolder() {
    RemoveTree(path_);
}

std::wstring TempFolder::File(std::wstring_view name) const {
    return path_ + L"\\" + std::wstring(name);
}

} // namespace portmaven::win::test_support
