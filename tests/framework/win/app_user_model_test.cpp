// The application's identity in the shell, on the real API: the process's id, a shortcut's
// property, and the registration under the user's classes.
#include "framework/win/app_user_model.h"
#include "framework/win/com_apartment.h"
#include "framework/win/icon_file.h"
#include "framework/win/scoped_handle.h"
#include "resource.h"
#include "support/win/shell_link.h"
#include "support/win/temp_folder.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shobjidl.h>

#include <string>

namespace portmaven::win {
namespace {

using test_support::ShortcutAppUserModelId;
using test_support::ShortcutTarget;

constexpr wchar_t kTestId[] = L"Portmaven.FrameworkTest";

TEST(AppUserModel, ProcessTakesTheId) {
    // False here would mean the function was not found in shell32 or the id was refused.
    ASSERT_TRUE(SetProcessAppUserModelId(kTestId));
    PWSTR raw = nullptr;
    const HRESULT read = ::GetCurrentProcessExplicitAppUserModelID(&raw);
    const std::wstring id = raw != nullptr ? raw : L"";
    ::CoTaskMemFree(raw);
    if (read == E_NOTIMPL) {
        GTEST_SKIP() << "this system does not tell a process its id";
    }
    ASSERT_HRESULT_SUCCEEDED(read);
    EXPECT_EQ(id, kTestId);
}

TEST(AppUserModel, ShortcutCarriesTheIdAndStillStartsItsTarget) {
    const ScopedComApartment apartment;
    const test_support::TempFolder folder(L"pm-shortcut");
    const std::wstring shortcut = folder.File(L"Test.lnk");
    const std::wstring target = L"C:\\windows\\notepad.exe";
    ASSERT_TRUE(test_support::CreateShortcut(shortcut, target));

    ASSERT_HRESULT_SUCCEEDED(SetShortcutAppUserModelId(shortcut, kTestId));
    EXPECT_EQ(ShortcutTarget(shortcut), target) << "the rewritten shortcut lost its target";
    const test_support::ShortcutId read = ShortcutAppUserModelId(shortcut);
    if (read.result == E_NOTIMPL) {
        GTEST_SKIP() << "this system keeps no properties for shortcuts";
    }
    ASSERT_HRESULT_SUCCEEDED(read.result);
    EXPECT_EQ(read.id, kTestId);
}

TEST(AppUserModel, MissingShortcutIsReportedAndNotCreated) {
    const ScopedComApartment apartment;
    const test_support::TempFolder folder(L"pm-shortcut");
    const std::wstring shortcut = folder.File(L"Missing.lnk");
    EXPECT_HRESULT_FAILED(SetShortcutAppUserModelId(shortcut, kTestId));
    EXPECT_EQ(::GetFileAttributesW(shortcut.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(AppUserModel, RegistrationWritesNameAndIconUnderTheUsersClasses) {
    const std::wstring key = std::wstring(L"Software\\Classes\\AppUserModelId\\") + kTestId;
    ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    ASSERT_TRUE(RegisterAppUserModelId(kTestId, L"Framework Test", L"C:\\first\\App.exe"));
    // A second start from elsewhere replaces the icon.
    ASSERT_TRUE(RegisterAppUserModelId(kTestId, L"Framework Test", L"D:\\moved\\App.exe"));
    const auto read = [&](const wchar_t* name) {
        wchar_t data[MAX_PATH] = {};
        DWORD bytes = sizeof data;
        const LSTATUS status = ::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ,
                                              nullptr, data, &bytes);
        return status == ERROR_SUCCESS ? std::wstring(data) : L"<missing>";
    };
    EXPECT_EQ(read(L"DisplayName"), L"Framework Test");
    EXPECT_EQ(read(L"IconUri"), L"D:\\moved\\App.exe");
    ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
}

TEST(IconFile, TheProgramsIconWrittenOutLoadsFromTheFileAtEverySize) {
    const test_support::TempFolder folder(L"pm-icon");
    const std::wstring path = folder.File(L"Portmaven.ico");
    // Over an older file, which it replaces whole.
    ASSERT_TRUE(WriteIconFile(::GetModuleHandleW(nullptr), IDR_MAINFRAME, path));
    ASSERT_TRUE(WriteIconFile(::GetModuleHandleW(nullptr), IDR_MAINFRAME, path));
    for (const int size : {16, 32, 48}) {
        const ScopedIcon icon(static_cast<HICON>(
            ::LoadImageW(nullptr, path.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE)));
        EXPECT_TRUE(icon) << size << " px";
    }
    EXPECT_FALSE(WriteIconFile(::GetModuleHandleW(nullptr), 0x7FFF, folder.File(L"none.ico")));
    EXPECT_EQ(::GetFileAttributesW(folder.File(L"none.ico").c_str()), INVALID_FILE_ATTRIBUTES);
}

} // namespace
} // namespace portmaven::win
