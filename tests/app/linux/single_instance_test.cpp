// The single-instance lock without a session's runtime folder, in a temporary folder where
// others may have left things first: links, folders open to others or of someone else's.
#include "app/linux/single_instance.h"

#include "support/linux/scoped_env.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace portmaven::linux_desktop {
namespace {

namespace fs = std::filesystem;

class SingleInstanceLockTest : public ::testing::Test {
protected:
    // The folders the lock looks for, in the order it tries them.
    [[nodiscard]] fs::path Folder(int attempt) const {
        std::string name = "portmaven-" + std::to_string(::geteuid());
        return temp_.Path() / (attempt == 0 ? name : name + "-" + std::to_string(attempt));
    }

    config::testing::TempDir temp_;
    test::ScopedEnv runtime_{"XDG_RUNTIME_DIR", std::nullopt};
};

TEST_F(SingleInstanceLockTest, TheLockLivesInAFolderOnlyTheUserMayEnterAndASecondCopyFindsIt) {
    // Where the lock used to be: a link someone else put there to a file of theirs.
    fs::create_symlink("/etc/passwd",
                       temp_.Path() / ("portmaven-" + std::to_string(::geteuid()) + ".lock"));
    const SingleInstanceLock first(temp_.Path());
    ASSERT_EQ(first.State(), InstanceState::First) << first.Problem();
    EXPECT_EQ(first.Path(), Folder(0) / "portmaven.lock");
    struct stat folder {};
    ASSERT_EQ(::lstat(Folder(0).c_str(), &folder), 0);
    EXPECT_TRUE(S_ISDIR(folder.st_mode));
    EXPECT_EQ(folder.st_mode & 07777, 0700U);

    const SingleInstanceLock second(temp_.Path());
    EXPECT_EQ(second.State(), InstanceState::AlreadyRunning);
    EXPECT_EQ(second.Path(), first.Path());
}

TEST_F(SingleInstanceLockTest, PassesByWhatIsNotPrivateAndSaysWhyWhenNothingIs) {
    // A runtime folder open to others, a link to a private folder of the user's, a folder open
    // to others and, where the test may make one (as root), a folder of someone else's.
    const fs::path open = temp_.Path() / "open";
    fs::create_directory(open);
    fs::permissions(open, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    const test::ScopedEnv runtime("XDG_RUNTIME_DIR", open.string());
    const fs::path elsewhere = temp_.Path() / "elsewhere";
    fs::create_directory(elsewhere);
    fs::permissions(elsewhere, fs::perms::owner_all);
    fs::create_directory_symlink(elsewhere, Folder(0));
    fs::create_directory(Folder(1));
    fs::permissions(Folder(1), fs::perms::owner_all | fs::perms::others_all);
    int free = 2;
    if (::geteuid() == 0) {
        fs::create_directory(Folder(2));
        fs::permissions(Folder(2), fs::perms::owner_all);
        ASSERT_EQ(::chown(Folder(2).c_str(), 65534, 65534), 0);
        free = 3;
    }
    {
        const SingleInstanceLock lock(temp_.Path());
        ASSERT_EQ(lock.State(), InstanceState::First) << lock.Problem();
        EXPECT_EQ(lock.Path(), Folder(free) / "portmaven.lock");
        EXPECT_TRUE(config::testing::Entries(open).empty());
        EXPECT_TRUE(config::testing::Entries(elsewhere).empty());
    }

    // Every name taken: nothing to lock in, and the reason names the place.
    for (int attempt = free; attempt < kLockFolderTries; ++attempt) {
        fs::remove_all(Folder(attempt));
        std::ofstream(Folder(attempt)) << "in the way";
    }
    const SingleInstanceLock none(temp_.Path());
    EXPECT_EQ(none.State(), InstanceState::Unavailable);
    EXPECT_NE(none.Problem().find(Folder(0).string()), std::string::npos) << none.Problem();
}

} // namespace
} // namespace portmaven::linux_desktop
