// The notices' switch in its INI file, on disk: the default, a round trip through a fresh
// reader, the folder made at the first save, unreadable values and a file that cannot be written.
#include "config/linux/notify_setting.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

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

} // namespace
} // namespace portmaven::linux_desktop
