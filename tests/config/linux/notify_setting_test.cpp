// The notices' switch in its INI file, on disk: the default, a round trip through a fresh
// reader, the folder made at the first save, a folder name that is not UTF-8, unreadable values,
// a file that cannot be written and a file kept behind symbolic links.
#include "config/linux/notify_setting.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace portmaven::linux_desktop {
namespace {

namespace fs = std::filesystem;

class IniNotifySettingTest : public ::testing::Test {
protected:
    void Write(const std::string& text) {
        fs::create_directories(File().parent_path());
        std::ofstream(File()) << text;
    }

    [[nodiscard]] fs::path File() const { return root_ / "portmaven" / "portmaven.conf"; }

    config::testing::TempDir dir_;
    const fs::path& root_ = dir_.Path();
};

TEST_F(IniNotifySettingTest, MissingFileMeansOn) {
    EXPECT_TRUE(IniNotifySetting(File()).IsEnabled());
    EXPECT_FALSE(fs::exists(File())) << "reading must not create the file";
}

TEST_F(IniNotifySettingTest, OffAndOnAgainSurviveAFreshReaderAndMakeTheFolder) {
    ASSERT_TRUE(IniNotifySetting(File()).SetEnabled(false));
    EXPECT_TRUE(fs::exists(File()));
    EXPECT_FALSE(IniNotifySetting(File()).IsEnabled());
    ASSERT_TRUE(IniNotifySetting(File()).SetEnabled(true));
    EXPECT_TRUE(IniNotifySetting(File()).IsEnabled());
}

TEST_F(IniNotifySettingTest, AFolderNameThatIsNotUtf8IsNoPlaceToKeepIt) {
    // "café" in Latin-1, as the environment may give it. Qt has no name for it, and the one it
    // would make up ("caf\ufffd") is another folder: nothing may be written there.
    const fs::path file = root_ / "caf\xe9" / "portmaven.conf";
    EXPECT_FALSE(IniNotifySetting(file).SetEnabled(false));
    EXPECT_TRUE(config::testing::Entries(root_).empty());
    EXPECT_TRUE(IniNotifySetting(file).IsEnabled());
}

TEST_F(IniNotifySettingTest, OtherKeysAndUnreadableValuesLeaveItOn) {
    Write("[General]\nsomething=else\n");
    EXPECT_TRUE(IniNotifySetting(File()).IsEnabled());
    Write("[Notifications]\nNotifyPortChanges=perhaps\n");
    EXPECT_TRUE(IniNotifySetting(File()).IsEnabled());
    Write("[Notifications]\nNotifyPortChanges=false\n");
    EXPECT_FALSE(IniNotifySetting(File()).IsEnabled());
}

TEST_F(IniNotifySettingTest, AFolderThatCannotBeMadeIsReported) {
    // A file where the folder should be: nothing can be saved below it.
    std::ofstream(root_ / "portmaven") << "in the way";
    EXPECT_FALSE(IniNotifySetting(File()).SetEnabled(false));
    EXPECT_TRUE(IniNotifySetting(File()).IsEnabled());
}

TEST_F(IniNotifySettingTest, SavesThroughAChainOfLinksKeepingTheLinksAndTheFilesMode) {
    // portmaven.conf -> <root>/links/settings -> ../dotfiles/portmaven.conf, the file kept
    // private in a folder of its own.
    const fs::path dotfiles = root_ / "dotfiles";
    const fs::path target = dotfiles / "portmaven.conf";
    fs::create_directories(dotfiles);
    fs::create_directories(root_ / "links");
    fs::create_directories(File().parent_path());
    std::ofstream(target) << "[Notifications]\nNotifyPortChanges=true\n";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("../dotfiles/portmaven.conf", root_ / "links" / "settings");
    fs::create_symlink(root_ / "links" / "settings", File());

    ASSERT_TRUE(IniNotifySetting(File()).SetEnabled(false));
    EXPECT_TRUE(fs::is_symlink(File()));
    EXPECT_EQ(fs::read_symlink(File()), root_ / "links" / "settings");
    EXPECT_EQ(fs::read_symlink(root_ / "links" / "settings"), "../dotfiles/portmaven.conf");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(config::testing::Entries(dotfiles), std::vector<std::string>{"portmaven.conf"});
    EXPECT_FALSE(IniNotifySetting(File()).IsEnabled());
    EXPECT_FALSE(IniNotifySetting(target).IsEnabled()) << "the file at the end was not written";
}

TEST_F(IniNotifySettingTest, ALinkToNowhereOrACircleIsNotSavedThrough) {
    fs::create_directories(File().parent_path());
    fs::create_directories(root_ / "dotfiles");
    fs::create_symlink("../dotfiles/portmaven.conf", File());
    EXPECT_FALSE(IniNotifySetting(File()).SetEnabled(false));
    EXPECT_TRUE(fs::is_symlink(File()));
    EXPECT_TRUE(config::testing::Entries(root_ / "dotfiles").empty()) << "a file was made";
    EXPECT_TRUE(IniNotifySetting(File()).IsEnabled());

    fs::remove(File());
    const fs::path other = File().parent_path() / "other.conf";
    fs::create_symlink("other.conf", File());
    fs::create_symlink("portmaven.conf", other);
    EXPECT_FALSE(IniNotifySetting(File()).SetEnabled(false));
    EXPECT_EQ(fs::read_symlink(File()), "other.conf");
    EXPECT_EQ(fs::read_symlink(other), "portmaven.conf");
    EXPECT_TRUE(IniNotifySetting(File()).IsEnabled());
}

} // namespace
} // namespace portmaven::linux_desktop
