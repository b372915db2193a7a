// The command file through the real POSIX file system, on real files.
#include "config/command_file.h"
#include "support/command_file_contract.h"
#include "support/module_in_directory.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <string>
#include <vector>

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
    static bool MakeLink(const std::u16string& link, const std::u16string& target) {
        std::error_code error;
        fs::create_symlink(fs::path(target), fs::path(link), error);
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

TEST(CommandFilePosix, SaveKeepsTheModeOfTheFileItReplacesAlsoBehindALink) {
    TempDir dir;
    ModuleInDirectory fileSystem(dir.Path());
    const fs::path config = dir.Path() / "Portmaven.cfg";
    CommandList list;
    list.AppendCommand(MakeCommandRecord(u"A", u"a"));

    WriteBytes(config, RecordImage(u"Old", u"old"));
    fs::permissions(config, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(SaveCommandList(fileSystem, list));
    EXPECT_EQ(fs::status(config).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    const fs::path kept = dir.Path() / "kept.cfg";
    fs::rename(config, kept);
    fs::permissions(kept, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("kept.cfg", config);
    ASSERT_TRUE(SaveCommandList(fileSystem, list));
    EXPECT_EQ(fs::read_symlink(config), "kept.cfg");
    EXPECT_EQ(fs::status(kept).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(ReadBytes(kept), RecordImage(u"A", u"a"));
}

// Lets this process write no file past a size, as a full disk does, until it ends.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        // Past the limit the write fails with EFBIG instead of the signal ending the process.
        oldAction_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{.rlim_cur = bytes, .rlim_max = old_.rlim_max};
        applied_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldAction_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    [[nodiscard]] bool Applied() const { return applied_; }

private:
    rlimit old_{};
    void (*oldAction_)(int) = nullptr;
    bool applied_ = false;
};

TEST(CommandFilePosix, DiskFullDuringTheSaveLeavesTheOldFileWhole) {
    TempDir dir;
    ModuleInDirectory fileSystem(dir.Path());
    const fs::path config = dir.Path() / "Portmaven.cfg";
    const Bytes old = Concat({RecordImage(u"Old 1", u"one"), RecordImage(u"Old 2", u"two")});
    WriteBytes(config, old);
    CommandList list;
    for (int i = 0; i < 10; ++i) {
        list.AppendCommand(MakeCommandRecord(u"New", u"new"));
    }
    {
        const FileSizeLimit full(3 * kRecordBytes);
        ASSERT_TRUE(full.Applied());
        EXPECT_FALSE(SaveCommandList(fileSystem, list));
    }
    EXPECT_EQ(ReadBytes(config), old);
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"Portmaven.cfg"});
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
