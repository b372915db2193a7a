// The command file through the real Win32 file API (under Wine): real files in a fresh folder.
#include "app/win/scoped_handle.h"
#include "app/win/wide_text.h"
#include "config/command_file.h"
#include "config/command_file_images.h"
#include "config/win/file_system_win.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace portmaven::win {
namespace {

using config::CommandList;
using config::FieldText;
using config::kRecordBytes;
using config::MakeCommandRecord;
using config::testing::Bytes;
using config::testing::Concat;
using config::testing::RecordImage;

void RemoveTree(const std::wstring& path) {
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
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                RemoveTree(child);
            } else {
                ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(child.c_str());
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(path.c_str());
}

// A fresh folder in the temporary directory, removed with its content.
class TestFolder {
public:
    TestFolder() {
        wchar_t temp[MAX_PATH + 1]{};
        ::GetTempPathW(MAX_PATH + 1, temp);
        static int serial = 0;
        path_ = std::wstring(temp) + L"portmaven-cfg-" + std::to_wstring(::GetCurrentProcessId()) +
                L"-" + std::to_wstring(++serial);
        ::CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TestFolder() { RemoveTree(ExtendedLengthPath(ToUtf16(path_))); }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    [[nodiscard]] const std::wstring& Path() const { return path_; }
    [[nodiscard]] std::wstring ConfigPath() const { return path_ + L"\\Portmaven.cfg"; }

private:
    std::wstring path_;
};

// The real Win32 file system, with the executable placed in a chosen folder.
class ModuleInFolder : public Win32FileSystem {
public:
    explicit ModuleInFolder(std::wstring folder) : folder_(std::move(folder)) {}
    [[nodiscard]] std::optional<std::u16string> ModulePath() const override {
        return ToUtf16(folder_ + L"\\Portmaven.exe");
    }

private:
    std::wstring folder_;
};

void WriteBytes(const std::wstring& path, const Bytes& bytes) {
    ScopedFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    DWORD written = 0;
    ASSERT_TRUE(
        ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    ASSERT_EQ(written, bytes.size());
}

Bytes ReadBytes(const std::wstring& path) {
    ScopedFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return {};
    }
    Bytes bytes(::GetFileSize(file.Get(), nullptr));
    DWORD read = 0;
    ::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

std::vector<std::wstring> Entries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(name);
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

const std::vector<std::wstring> kOnlyTheCommandFile{L"Portmaven.cfg"};

class CommandFileWin : public ::testing::Test {
protected:
    void Load() { config::LoadCommandList(fileSystem_, list_, config::kWindowsDefaultCommand); }
    bool Save() { return config::SaveCommandList(fileSystem_, list_); }
    [[nodiscard]] std::u16string NameAt(int index) const {
        return std::u16string(FieldText(list_.At(index).szName));
    }

    TestFolder folder_;
    ModuleInFolder fileSystem_{folder_.Path()};
    CommandList list_;
};

TEST_F(CommandFileWin, MissingFileGivesConnectAndTheFirstSaveCreatesOneRecord) {
    Load();
    ASSERT_EQ(list_.GetCount(), 1);
    EXPECT_EQ(NameAt(0), u"Connect");
    EXPECT_EQ(FieldText(list_.At(0).szCommand),
              u"C:\\Program Files\\TTERMPRO\\ttermpro.exe /C=%PORTNUM%");
    EXPECT_TRUE(Entries(folder_.Path()).empty());

    ASSERT_TRUE(Save());
    EXPECT_EQ(ReadBytes(folder_.ConfigPath()),
              RecordImage(u"Connect", u"C:\\Program Files\\TTERMPRO\\ttermpro.exe /C=%PORTNUM%"));
    EXPECT_EQ(Entries(folder_.Path()), kOnlyTheCommandFile);
}

TEST_F(CommandFileWin, RecordCountFollowsTheFileLength) {
    const Bytes record = RecordImage(u"Term", u"term.exe %PORTNUM%");
    const struct {
        Bytes content;
        int count;
    } cases[] = {
        {Bytes{}, 0},
        {Bytes(record.begin(), record.end() - 1), 0},
        {Concat({record, Bytes(1, std::byte{0x5A})}), 1},
    };
    for (const auto& c : cases) {
        WriteBytes(folder_.ConfigPath(), c.content);
        Load();
        EXPECT_EQ(list_.GetCount(), c.count) << c.content.size() << " bytes";
    }
    EXPECT_EQ(NameAt(0), u"Term");
}

TEST_F(CommandFileWin, ThreeRecordsLoadInOrderAndSaveBackUnchanged) {
    const Bytes image = Concat({RecordImage(u"A", u"a.exe"), RecordImage(u"B \u00e9", u"b.exe"),
                                RecordImage(u"C", u"c.exe %PORTNUM%")});
    WriteBytes(folder_.ConfigPath(), image);
    Load();
    ASSERT_EQ(list_.GetCount(), 3);
    EXPECT_EQ(NameAt(0), u"A");
    EXPECT_EQ(NameAt(1), u"B \u00e9");
    EXPECT_EQ(NameAt(2), u"C");
    ASSERT_TRUE(Save());
    EXPECT_EQ(ReadBytes(folder_.ConfigPath()), image);
    EXPECT_EQ(Entries(folder_.Path()), kOnlyTheCommandFile);
}

TEST_F(CommandFileWin, GarbageAfterTerminatorsIsZeroedOnSave) {
    Bytes dirty = RecordImage(u"N", u"c");
    std::fill(dirty.begin() + 4, dirty.begin() + 512, std::byte{0xAB});
    std::fill(dirty.begin() + 516, dirty.end(), std::byte{0xCD});
    WriteBytes(folder_.ConfigPath(), dirty);
    Load();
    ASSERT_TRUE(Save());
    EXPECT_EQ(ReadBytes(folder_.ConfigPath()), RecordImage(u"N", u"c"));
}

TEST_F(CommandFileWin, EmptyListLeavesAZeroByteFile) {
    WriteBytes(folder_.ConfigPath(), RecordImage(u"old", u"old"));
    ASSERT_TRUE(Save());
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(::GetFileAttributesExW(folder_.ConfigPath().c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, 0u);
    EXPECT_EQ(Entries(folder_.Path()), kOnlyTheCommandFile);
}

TEST_F(CommandFileWin, PlainDirectoryWithTheFileNameCountsAsNoFile) {
    ASSERT_TRUE(::CreateDirectoryW(folder_.ConfigPath().c_str(), nullptr));
    ASSERT_EQ(::GetFileAttributesW(folder_.ConfigPath().c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    Load();
    ASSERT_EQ(list_.GetCount(), 1);
    EXPECT_EQ(NameAt(0), u"Connect");

    EXPECT_FALSE(Save());
    EXPECT_EQ(::GetFileAttributesW(folder_.ConfigPath().c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(Entries(folder_.Path()), kOnlyTheCommandFile);
}

TEST_F(CommandFileWin, DirectoryWithAFurtherAttributeIsPresentButUnreadable) {
    // Wine keeps no read-only bit on a directory, but it does keep the hidden bit.
    ASSERT_TRUE(::CreateDirectoryW(folder_.ConfigPath().c_str(), nullptr));
    ASSERT_TRUE(::SetFileAttributesW(folder_.ConfigPath().c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_EQ(::GetFileAttributesW(folder_.ConfigPath().c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(fileSystem_.OpenForReading(ToUtf16(folder_.ConfigPath())), nullptr);
    Load();
    EXPECT_EQ(list_.GetCount(), 0);
}

TEST_F(CommandFileWin, ReadOnlyFileKeepsItsContentAtSave) {
    // Wine's MoveFileExW, unlike Windows', replaces a read-only target: the save's own check
    // is what keeps the content here.
    const Bytes old = RecordImage(u"Keep", u"keep.exe");
    WriteBytes(folder_.ConfigPath(), old);
    ASSERT_TRUE(::SetFileAttributesW(folder_.ConfigPath().c_str(), FILE_ATTRIBUTE_READONLY));
    list_.AppendCommand(MakeCommandRecord(u"New", u"new.exe"));
    EXPECT_FALSE(Save());
    EXPECT_EQ(ReadBytes(folder_.ConfigPath()), old);
    EXPECT_EQ(Entries(folder_.Path()), kOnlyTheCommandFile);
}

TEST_F(CommandFileWin, FileHeldWithoutSharingIsNeitherReadNorReplaced) {
    const Bytes old = RecordImage(u"Held", u"held.exe");
    WriteBytes(folder_.ConfigPath(), old);
    {
        ScopedFileHandle held(::CreateFileW(folder_.ConfigPath().c_str(), GENERIC_READ, 0, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held);
        Load();
        EXPECT_EQ(list_.GetCount(), 0);
        list_.AppendCommand(MakeCommandRecord(u"New", u"new.exe"));
        EXPECT_FALSE(Save());
    }
    EXPECT_EQ(ReadBytes(folder_.ConfigPath()), old);
    EXPECT_EQ(Entries(folder_.Path()), kOnlyTheCommandFile);
}

TEST_F(CommandFileWin, PathsLongerThanMaxPathWork) {
    std::wstring deep = folder_.Path();
    for (wchar_t level = L'a'; level < L'a' + 6; ++level) {
        deep += L"\\" + std::wstring(200, level);
        ASSERT_TRUE(::CreateDirectoryW(ExtendedLengthPath(ToUtf16(deep)).c_str(), nullptr));
    }
    ASSERT_GT(deep.size(), 1024u);
    ModuleInFolder deepFileSystem(deep);
    list_.AppendCommand(MakeCommandRecord(u"Deep", u"deep.exe"));
    ASSERT_TRUE(config::SaveCommandList(deepFileSystem, list_));
    EXPECT_EQ(ReadBytes(ExtendedLengthPath(ToUtf16(deep + L"\\Portmaven.cfg"))),
              RecordImage(u"Deep", u"deep.exe"));
    config::LoadCommandList(deepFileSystem, list_, config::kWindowsDefaultCommand);
    ASSERT_EQ(list_.GetCount(), 1);
    EXPECT_EQ(NameAt(0), u"Deep");
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
