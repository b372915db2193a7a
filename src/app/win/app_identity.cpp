#include "app/win/app_identity.h"

#include "common/program_texts.h"
#include "framework/win/app_user_model.h"
#include "framework/win/application.h"
#include "framework/win/icon_file.h"
#include "framework/win/wide_text.h"
#include "resource.h"

#include <vector>

namespace portmaven::win {

namespace {

// Where the installer records the folder it installed into.
constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Portmaven";

std::wstring InstalledFolder() {
    DWORD bytes = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, L"InstallLocation", RRF_RT_REG_SZ, nullptr,
                       nullptr, &bytes) != ERROR_SUCCESS ||
        bytes < sizeof(wchar_t)) {
        return {};
    }
    std::vector<wchar_t> folder(bytes / sizeof(wchar_t) + 1);
    bytes = static_cast<DWORD>(folder.size() * sizeof(wchar_t));
    if (::RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, L"InstallLocation", RRF_RT_REG_SZ, nullptr,
                       folder.data(), &bytes) != ERROR_SUCCESS) {
        return {};
    }
    return folder.data();
}

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// The installer's copy is the one in the folder its uninstall entry names; Windows paths
// compare without case.
bool IsInstalledCopy(const std::wstring& exe) {
    const std::wstring installed = InstalledFolder();
    const std::wstring folder = FolderOf(exe);
    return !installed.empty() && !folder.empty() &&
           ::CompareStringOrdinal(installed.c_str(), static_cast<int>(installed.size()),
                                  folder.c_str(), static_cast<int>(folder.size()),
                                  TRUE) == CSTR_EQUAL;
}

// The shell takes the id's icon as a picture file: the program's icon is written beside it
// (where the command file is kept too). Where that fails, the executable, which some systems
// read an icon from, is the best there is.
bool RegisterForUser(const std::wstring& exe) {
    if (exe.empty()) {
        return false;
    }
    const std::wstring icon = FolderOf(exe) + L"\\Portmaven.ico";
    const bool written = WriteIconFile(::GetModuleHandleW(nullptr), IDR_MAINFRAME, icon);
    return RegisterAppUserModelId(kAppUserModelId, ToWide(common::kProgramTitle),
                                  written ? icon : exe);
}

} // namespace

void TakeAppIdentity() {
    // Without the id, notices are still shown, under the executable's name.
    SetProcessAppUserModelId(kAppUserModelId);
    const std::wstring exe = ModuleFileName();
    if (!IsInstalledCopy(exe)) {
        RegisterForUser(exe);
    }
}

HRESULT RegisterShortcut(const std::wstring& shortcut) {
    const HRESULT result = SetShortcutAppUserModelId(shortcut, kAppUserModelId);
    if (!RegisterForUser(ModuleFileName())) {
        return FAILED(result) ? result : E_FAIL;
    }
    return result;
}

} // namespace portmaven::win
