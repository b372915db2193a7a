// The command file through the real Win32 file API (under Wine): real files in a fresh folder.
#include "config/command_file.h"
#include "config/win/file_system.h"
#include "framework/win/scoped_handle.h"
#include "framework/win/wide_text.h"
#include "support/command_file_contract.h"
#include "support/win/temp_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
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
        test_support::TempFolder folder{L"portmaven-cfg"};
        [[nodiscard]] std::u16string Path() const { return ToUtf16(folder.Path()); }
    };
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
