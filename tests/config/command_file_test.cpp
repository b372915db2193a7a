// The command file through the real POSIX file system, on real files.
#include "config/command_file.h"
#include "support/command_file_contract.h"
#include "support/module_in_directory.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace portmaven::config::testing {
namespace {

struct PosixPlatform {
    struct Folder {
        TempDir dir;
        [[nodiscard]] std::u16string Path() const { return dir.Path().u16string(); }
    };
    static constexpr char16_t kSeparator = u'/';

    static std::unique_ptr<FileSystem> FileSystemIn(const std::u16string& folder) {
        return std::make_unique<ModuleInDirectory>(fs::path(folder));
    }
    static void WriteBytes(const std::u16string& path, const Bytes& bytes) {
        testing::WriteBytes(fs::path(path), bytes);
    }
    static Bytes ReadBytes(const std::u16string& path) {
        return testing::ReadBytes(fs::path(path));
    }
    static std::vector<std::u16string> Entries(const std::u16string& folder) {
        std::vector<std::u16string> names;
        for (const std::string& name : testing::Entries(fs::path(folder))) {
            names.push_back(fs::path(name).u16string());
        }
        return names;
    }
    static bool MakeDirectory(const std::u16string& path) {
        return fs::create_directory(fs::path(path));
    }
    static bool IsDirectory(const std::u16string& path) { return fs::is_directory(fs::path(path)); }
    static bool MakeReadOnly(const std::u16string& path) {
        std::error_code error;
        fs::permissions(fs::path(path), fs::perms::owner_read | fs::perms::group_read, error);
        return !error;
    }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Posix, CommandFileContract, PosixPlatform);

TEST(CommandFilePosix, ReadOnlyDirectoryWithTheFileNameIsPresentButUnreadable) {
    TempDir dir;
    ModuleInDirectory fileSystem(dir.Path());
    const fs::path config = dir.Path() / "Portmaven.cfg";
    fs::create_directory(config);
    fs::permissions(config, fs::perms::owner_read | fs::perms::owner_exec);
    CommandList list;
    LoadCommandList(fileSystem, list, kWindowsDefaultCommand);
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(PosixFileSystem, TellsMissingPathsDirectoriesReadOnlyAndPlainFilesApart) {
    TempDir dir;
    PosixFileSystem fileSystem;
    const fs::path file = dir.Path() / "f";
    WriteBytes(file, Bytes(5));
    EXPECT_EQ(fileSystem.Kind(file.u16string()), FileKind::File);
    EXPECT_EQ(fileSystem.Size(file.u16string()), 5u);
    fs::permissions(file, fs::perms::owner_read);
    EXPECT_EQ(fileSystem.Kind(file.u16string()), FileKind::ReadOnly);
    EXPECT_EQ(fileSystem.Kind(dir.Path().u16string()), FileKind::Directory);
    EXPECT_EQ(fileSystem.Size(dir.Path().u16string()), 0u);
    const fs::path locked = dir.Path() / "locked";
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(fileSystem.Kind(locked.u16string()), FileKind::ReadOnly);
    EXPECT_EQ(fileSystem.Kind((dir.Path() / "missing").u16string()), FileKind::Missing);
    EXPECT_EQ(fileSystem.Kind(u"bad \xD800 surrogate"), FileKind::Missing);
}

TEST(PosixFileSystem, ModulePathIsThisExecutable) {
    PosixFileSystem fileSystem;
    std::u16string directory;
    ASSERT_TRUE(GetModuleDirectory(fileSystem, directory));
    EXPECT_EQ(fs::path(directory), fs::canonical("/proc/self/exe").parent_path());
}

} // namespace
} // namespace portmaven::config::testing
