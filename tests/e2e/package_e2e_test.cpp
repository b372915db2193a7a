// The release artefacts of this build, as a Windows user gets them: the portable zip unpacked,
// and the installer run silently into the build tree's own prefix, then its uninstaller, run
// while the installed program runs.
#include "harness.h"
#include "support/win/shell_link.h"

#include "framework/win/com_apartment.h"
#include "portmaven_version.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <optional>
#include <string>
#include <vector>

namespace portmaven::e2e {
namespace {

const std::vector<std::wstring> kZipFiles{L"LICENSE.txt", L"Portmaven.exe", L"README.txt"};
constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Portmaven";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kAppIdKey[] = L"Software\\Classes\\AppUserModelId\\Portmaven.Portmaven";

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR raw = nullptr;
    std::wstring path;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &raw))) {
        path = raw;
    }
    ::CoTaskMemFree(raw);
    return path;
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::wstring> ReadString(const wchar_t* key, const wchar_t* name) {
    wchar_t data[2048] = {};
    DWORD bytes = sizeof data - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, data, &bytes) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(data);
}

bool KeyExists(const wchar_t* key) {
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &raw) != ERROR_SUCCESS) {
        return false;
    }
    ::RegCloseKey(raw);
    return true;
}

// The version block's product version, as Explorer shows it.
std::optional<DWORD> ProductVersionMajorMinor(const std::wstring& exe) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    std::vector<BYTE> block(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (size == 0 || !::GetFileVersionInfoW(exe.c_str(), 0, size, block.data()) ||
        !::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length)) {
        return std::nullopt;
    }
    return info->dwProductVersionMS;
}

// The id's icon is the program's, written beside it as a picture the shell can read.
void ExpectIconUriBeside(const std::wstring& exe) {
    const std::wstring icon = exe.substr(0, exe.find_last_of(L'\\')) + L"\\Portmaven.ico";
    EXPECT_EQ(ReadString(kAppIdKey, L"IconUri"), icon);
    EXPECT_TRUE(::ExtractIconExW(icon.c_str(), -1, nullptr, nullptr, 0) > 0)
        << "no icon in " << ::testing::PrintToString(icon);
}

void ExpectStartsWithItsTrayIcon(const std::wstring& exe) {
    PortmavenProcess app(exe);
    ASSERT_TRUE(app.WaitForHost()) << "no host window from " << ::testing::PrintToString(exe);
    EXPECT_TRUE(app.TrayIconPresent());
    ::PostMessageW(app.Host(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(app.WaitForExit());
}

TEST(PackageZip, HoldsExactlyTheThreeFilesAndItsProgramStarts) {
    const std::wstring folder = BuildFilePath(PORTMAVEN_UNZIPPED_UNIX_PATH);
    ASSERT_EQ(FileNames(folder), kZipFiles);
    ExpectStartsWithItsTrayIcon(folder + L"\\Portmaven.exe");
}

// No installer registered the program's id: the zip's program does, with its own icon.
TEST(PackageZip, ItsProgramRegistersItsIdForTheUser) {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppIdKey);
    const std::wstring exe = BuildFilePath(PORTMAVEN_UNZIPPED_UNIX_PATH) + L"\\Portmaven.exe";
    ExpectStartsWithItsTrayIcon(exe);
    EXPECT_EQ(ReadString(kAppIdKey, L"DisplayName"), L"Portmaven");
    ExpectIconUriBeside(exe);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppIdKey);
}

// The installer's shortcut step tells it when the shortcut could not be given the id.
TEST(PackageZip, TheShortcutStepFailsForAShortcutThatIsNotThere) {
    const std::wstring exe = BuildFilePath(PORTMAVEN_UNZIPPED_UNIX_PATH) + L"\\Portmaven.exe";
    const std::optional<DWORD> status = RunAndWait(L"\"" + exe + L"\" --register-shortcut " +
                                                   L"\"C:\\no such folder\\Portmaven.lnk\"");
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppIdKey);
    ASSERT_TRUE(status.has_value());
    EXPECT_NE(*status, 0u) << "a shortcut that is not there was reported as done";
}

class PackageInstaller : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(installDir_.empty());
        // What an earlier, broken run may have left.
        RemoveTree(installDir_);
        ::DeleteFileW(shortcut_.c_str());
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppIdKey);
        savedRun_ = ReadString(kRunKey, L"Portmaven");
    }
    void TearDown() override {
        RemoveTree(installDir_);
        ::DeleteFileW(shortcut_.c_str());
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppIdKey);
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Portmaven");
        if (savedRun_) {
            ::RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Portmaven", REG_SZ, savedRun_->c_str(),
                              static_cast<DWORD>((savedRun_->size() + 1) * sizeof(wchar_t)));
        }
    }

    [[nodiscard]] std::wstring File(const wchar_t* name) const {
        return installDir_ + L"\\" + name;
    }

    static std::optional<DWORD> RunSetup() {
        return RunAndWait(L"\"" + BuildFilePath(PORTMAVEN_SETUP_UNIX_PATH) + L"\" /S");
    }

    // The Start-menu shortcut starts the program under its id, and the installer registered the
    // id's name and icon. The installed program leaves that registration to the installer.
    void ExpectInstalledIdentity(const std::wstring& exe) const {
        EXPECT_EQ(ReadString(kAppIdKey, L"DisplayName"), L"Portmaven");
        ExpectIconUriBeside(exe);
        {
            const win::ScopedComApartment apartment;
            EXPECT_TRUE(
                ::lstrcmpiW(win::test_support::ShortcutTarget(shortcut_).c_str(), exe.c_str()) == 0)
                << "the shortcut no longer starts the program";
            const auto id = win::test_support::ShortcutAppUserModelId(shortcut_);
            // Wine keeps no properties for shortcuts; Windows reads the id back.
            if (id.result != E_NOTIMPL) {
                EXPECT_EQ(id.id, L"Portmaven.Portmaven");
            }
        }
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppIdKey);
        {
            PortmavenProcess installed(exe);
            ASSERT_TRUE(installed.WaitForHost());
        }
        EXPECT_FALSE(KeyExists(kAppIdKey)) << "the installed program registered the id itself";
    }

    const std::wstring installDir_ = KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Portmaven";
    const std::wstring shortcut_ = KnownFolder(FOLDERID_Programs) + L"\\Portmaven.lnk";
    std::optional<std::wstring> savedRun_;
};

TEST_F(PackageInstaller, InstallsPerUserAndTheUninstallerEndsTheProgramAndKeepsItsCommands) {
    ASSERT_EQ(RunSetup(), 0U);
    const std::wstring exe = File(L"Portmaven.exe");
    for (const wchar_t* name :
         {L"Portmaven.exe", L"README.txt", L"LICENSE.txt", L"uninstall.exe"}) {
        EXPECT_TRUE(Exists(File(name))) << ::testing::PrintToString(std::wstring(name));
    }
    EXPECT_TRUE(Exists(shortcut_)) << "no Start-menu shortcut";
    EXPECT_EQ(ReadString(kUninstallKey, L"DisplayName"), L"Portmaven");
    EXPECT_EQ(ReadString(kUninstallKey, L"DisplayVersion"), L"" PORTMAVEN_VERSION_TEXT);
    EXPECT_EQ(ReadString(kUninstallKey, L"Publisher"), L"The Portmaven developers");
    EXPECT_EQ(ReadString(kUninstallKey, L"UninstallString"), L'"' + File(L"uninstall.exe") + L'"');
    EXPECT_EQ(ReadString(kRunKey, L"Portmaven"), L'"' + exe + L'"') << "log-on value, quoted";
    EXPECT_EQ(ProductVersionMajorMinor(exe),
              static_cast<DWORD>((PORTMAVEN_VERSION_MAJOR << 16) | PORTMAVEN_VERSION_MINOR));

    ExpectInstalledIdentity(exe);

    // The user's commands, as an earlier Exit left them.
    const std::vector<CommandText> commands{{u"Keep me", u"keep.exe /C=%PORTNUM%"}};
    WriteConfigFile(File(L"Portmaven.cfg"), commands);

    {
        // Installing over a running copy ends it and keeps the commands.
        PortmavenProcess running(exe);
        ASSERT_TRUE(running.WaitForHost());
        EXPECT_TRUE(running.TrayIconPresent());
        ASSERT_EQ(RunSetup(), 0U);
        EXPECT_TRUE(running.WaitForExit()) << "the upgrade did not end the running copy";
        EXPECT_EQ(ReadConfigFile(File(L"Portmaven.cfg")), commands);
    }

    // The upgrade registered the id again, for the uninstaller to remove.
    ASSERT_TRUE(KeyExists(kAppIdKey));
    PortmavenProcess running(exe);
    ASSERT_TRUE(running.WaitForHost());
    ASSERT_TRUE(running.TrayIconPresent());
    ASSERT_TRUE(RunAndWait(L'"' + File(L"uninstall.exe") + L"\" /S"));
    // The uninstaller works from a copy of itself in the temporary folder: wait for its result.
    EXPECT_TRUE(running.WaitForExit(30000)) << "the uninstaller did not end the program";
    EXPECT_TRUE(WaitUntil([&] { return !Exists(File(L"uninstall.exe")); }, 30000));

    EXPECT_EQ(FileNames(installDir_), std::vector<std::wstring>{L"Portmaven.cfg"});
    EXPECT_EQ(ReadConfigFile(File(L"Portmaven.cfg")), commands);
    EXPECT_FALSE(Exists(shortcut_));
    EXPECT_FALSE(KeyExists(kUninstallKey));
    EXPECT_FALSE(KeyExists(kAppIdKey)) << "the uninstaller left the id's registration";
    EXPECT_FALSE(ReadString(kRunKey, L"Portmaven"));
}

} // namespace
} // namespace portmaven::e2e
