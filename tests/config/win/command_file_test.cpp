// The command file through the real Win32 file API (under Wine): real files in a fresh folder.
#include "config/command_file.h"
#include "config/win/file_system.h"
#include "framework/win/scoped_handle.h"
#include "framework/win/wide_text.h"
#include "support/command_file_contract.h"
#include "support/win/temp_folder.h"
#include "support/win/wait.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace portmaven::win {
namespace {

using config::CommandList;
using config::FieldText;
using config::FileKind;
using config::MakeCommandRecord;
using config::testing::Bytes;
using config::testing::RecordImage;

// The real Win32 file system, with the executable placed in a chosen folder.
class ModuleInFolder : public Win32FileSystem {
public:
    explicit ModuleInFolder(std::u16string folder) : folder_(std::move(folder)) {}
    [[nodiscard]] std::optional<std::u16string> ModulePath() const override {
        return folder_ + u"\\Portmaven.exe";
    }

private:
    std::u16string folder_;
};

struct Win32Platform {
    struct Folder {
        Folder() = default;
        Folder(const Folder&) = delete;
        Folder& operator=(const Folder&) = delete;
        Folder(Folder&&) = delete;
        Folder& operator=(Folder&&) = delete;
        // Wine lists no link that leads nowhere or round in a circle, so the folder's own
        // removal would leave them: they go on the Unix side first.
        ~Folder() {
            const std::wstring& path = folder.Path();
            if (std::exchange(unixLinksMade, false)) {
                const std::size_t separator = path.rfind(L'\\');
                RunUnixShell(path.substr(0, separator),
                             L"rm -rf -- '" + path.substr(separator + 1) + L"'");
            }
        }
        test_support::TempFolder folder{L"portmaven-cfg"};
        [[nodiscard]] std::u16string Path() const { return ToUtf16(folder.Path()); }
    };
    // Whether the test made links on the Unix side.
    static inline bool unixLinksMade = false;
    static constexpr char16_t kSeparator = u'\\';

    static std::unique_ptr<config::FileSystem> FileSystemIn(const std::u16string& folder) {
        return std::make_unique<ModuleInFolder>(folder);
    }
    static void WriteBytes(const std::u16string& path, const Bytes& bytes) {
        ScopedFileHandle file(::CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_WRITE, 0,
                                            nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                            nullptr));
        ASSERT_TRUE(file);
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                &written, nullptr));
        ASSERT_EQ(written, bytes.size());
    }
    static Bytes ReadBytes(const std::u16string& path) {
        ScopedFileHandle file(::CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_READ,
                                            FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            return {};
        }
        Bytes bytes(::GetFileSize(file.Get(), nullptr));
        DWORD read = 0;
        ::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        bytes.resize(read);
        return bytes;
    }
    static std::vector<std::u16string> Entries(const std::u16string& folder) {
        std::vector<std::u16string> names;
        WIN32_FIND_DATAW found{};
        HANDLE search = ::FindFirstFileW((ToWide(folder) + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) {
            return names;
        }
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") {
                names.push_back(ToUtf16(name));
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }
    static bool MakeDirectory(const std::u16string& path) {
        return ::CreateDirectoryW(ExtendedLengthPath(path).c_str(), nullptr) != FALSE;
    }
    static bool IsDirectory(const std::u16string& path) {
        return ::GetFileAttributesW(ExtendedLengthPath(path).c_str()) == FILE_ATTRIBUTE_DIRECTORY;
    }
    static bool MakeReadOnly(const std::u16string& path) {
        return ::SetFileAttributesW(ExtendedLengthPath(path).c_str(), FILE_ATTRIBUTE_READONLY) !=
               FALSE;
    }
    // Windows makes the link where the user may (developer mode, or an elevated process).
    // Wine 8 answers CreateSymbolicLinkW with success and makes nothing; there the link is made
    // on the Unix side, by ln, and Wine shows it to the program as the file it leads to, as
    // Windows does with its own links.
    static bool MakeLink(const std::u16string& link, const std::u16string& target) {
        const std::wstring wideLink = ToWide(link);
        if (::CreateSymbolicLinkW(wideLink.c_str(), ToWide(target).c_str(),
                                  SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) &&
            HasEntry(wideLink)) {
            return true;
        }
        const std::size_t separator = wideLink.rfind(L'\\');
        std::wstring unixTarget = ToWide(target);
        std::replace(unixTarget.begin(), unixTarget.end(), L'\\', L'/');
        unixLinksMade = true;
        return RunUnixShell(wideLink.substr(0, separator), L"ln -s '" + unixTarget + L"' '" +
                                                               wideLink.substr(separator + 1) +
                                                               L"'");
    }
    // Whether the folder has an entry of that name, also for a link that leads nowhere.
    static bool HasEntry(const std::wstring& path) {
        WIN32_FIND_DATAW found{};
        const HANDLE search = ::FindFirstFileW(path.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) {
            return ::GetLastError() != ERROR_FILE_NOT_FOUND;
        }
        ::FindClose(search);
        return true;
    }
    // Runs the shell script in the folder on the Unix side (the prefix's Z: drive is the Unix
    // root) and waits until it has succeeded: Wine starts a Unix program without a handle to
    // wait on, so the script makes a marker file when it is done. False on failure.
    static bool RunUnixShell(const std::wstring& folder, const std::wstring& script) {
        static int serial = 0;
        const std::wstring marker = L"portmaven-done-" + std::to_wstring(::GetCurrentProcessId()) +
                                    L"-" + std::to_wstring(++serial);
        std::wstring commandLine = L"/bin/sh -c \"" + script + L" && : > '" + marker + L"'\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!::CreateProcessW(L"Z:\\bin\\sh", commandLine.data(), nullptr, nullptr, FALSE, 0,
                              nullptr, folder.c_str(), &startup, &process)) {
            return false;
        }
        const ScopedKernelHandle processHandle(process.hProcess);
        const ScopedKernelHandle threadHandle(process.hThread);
        const std::wstring markerPath = folder + L"\\" + marker;
        return test_support::WaitUntil([&] {
                   return ::GetFileAttributesW(markerPath.c_str()) != INVALID_FILE_ATTRIBUTES;
               }) &&
               ::DeleteFileW(markerPath.c_str()) != FALSE;
    }
};

} // namespace
} // namespace portmaven::win

namespace portmaven::config::testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, CommandFileContract, win::Win32Platform);
} // namespace portmaven::config::testing

namespace portmaven::win {
namespace {

using CommandFileWin = config::testing::CommandFileContract<Win32Platform>;

TEST_F(CommandFileWin, DirectoryWithAFurtherAttributeIsPresentButUnreadable) {
    // Wine keeps no read-only bit on a directory, but it does keep the hidden bit.
    const std::wstring config = ToWide(ConfigPath());
    ASSERT_TRUE(::CreateDirectoryW(config.c_str(), nullptr));
    ASSERT_TRUE(::SetFileAttributesW(config.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_EQ(::GetFileAttributesW(config.c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(fileSystem_->OpenForReading(ConfigPath()), nullptr);
    Load();
    EXPECT_EQ(list_.GetCount(), 0);
}

TEST_F(CommandFileWin, FileHeldWithoutSharingIsNeitherReadNorReplaced) {
    const Bytes old = RecordImage(u"Held", u"held.exe");
    Win32Platform::WriteBytes(ConfigPath(), old);
    {
        ScopedFileHandle held(::CreateFileW(ToWide(ConfigPath()).c_str(), GENERIC_READ, 0, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held);
        Load();
        EXPECT_EQ(list_.GetCount(), 0);
        list_.AppendCommand(MakeCommandRecord(u"New", u"new.exe"));
        EXPECT_FALSE(Save());
    }
    EXPECT_EQ(Win32Platform::ReadBytes(ConfigPath()), old);
    EXPECT_EQ(Entries(), onlyTheCommandFile_);
}

TEST(Win32FileSystem, OnlyAPlainDirectoryIsNotTheFileAndOnlyTheReadOnlyBitKeepsIt) {
    const struct {
        DWORD attributes;
        FileKind kind;
    } cases[] = {
        {INVALID_FILE_ATTRIBUTES, FileKind::Missing},
        {FILE_ATTRIBUTE_DIRECTORY, FileKind::Directory},
        {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY, FileKind::ReadOnly},
        {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE, FileKind::File},
        {FILE_ATTRIBUTE_NORMAL, FileKind::File},
        {FILE_ATTRIBUTE_ARCHIVE, FileKind::File},
        {FILE_ATTRIBUTE_READONLY, FileKind::ReadOnly},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileKindFromAttributes(c.attributes), c.kind) << std::hex << c.attributes;
    }
}

TEST(Win32FileSystem, ModuleDirectoryIsTheExecutablesFolder) {
    wchar_t path[MAX_PATH]{};
    ASSERT_GT(::GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    std::wstring expected = path;
    expected.erase(expected.rfind(L'\\'));
    Win32FileSystem fileSystem;
    std::u16string directory;
    ASSERT_TRUE(config::GetModuleDirectory(fileSystem, directory));
    EXPECT_EQ(ToWide(directory), expected);
}

TEST(Win32FileSystem, ExtendedLengthPathOnlyForLongAbsolutePaths) {
    const std::u16string longTail(300, u'x');
    EXPECT_EQ(ExtendedLengthPath(u"C:\\short\\Portmaven.cfg"), L"C:\\short\\Portmaven.cfg");
    EXPECT_EQ(ExtendedLengthPath(u"C:\\" + longTail), L"\\\\?\\C:\\" + ToWide(longTail));
    EXPECT_EQ(ExtendedLengthPath(u"\\\\server\\share\\" + longTail),
              L"\\\\?\\UNC\\server\\share\\" + ToWide(longTail));
    EXPECT_EQ(ExtendedLengthPath(u"\\\\?\\C:\\" + longTail), L"\\\\?\\C:\\" + ToWide(longTail));
}

} // namespace
} // namespace portmaven::win
