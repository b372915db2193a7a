// The Configure dialog's "Notify when serial ports come and go" box over the real INI file, on
// the offscreen platform: read when the dialog opens, stored by Close, discarded by Escape.
#include "config/linux/configure_dialog.h"
#include "config/linux/notify_setting_ini.h"

#include "config/configure_fakes.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace portmaven::qt {
namespace {

namespace fs = std::filesystem;

class ConfigureNotifyBox : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "portmaven-box-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
    }
    void TearDown() override { fs::remove_all(root_); }

    // Opens the dialog, sets the box, and leaves through Close or Escape; returns what the
    // box showed when the dialog opened.
    bool OpenSetAndLeave(bool checked, bool close) {
        IniNotifySetting setting(root_ / "portmaven" / "portmaven.conf");
        ConfigureDialog dialog(commands_, runKey_, saver_, setting);
        dialog.show();
        auto* box = dialog.findChild<QCheckBox*>(QStringLiteral("notifyPortChanges"));
        EXPECT_NE(box, nullptr);
        if (box == nullptr) {
            return false;
        }
        EXPECT_EQ(box->text(), QStringLiteral("Notify when serial ports come and go"));
        const bool shown = box->isChecked();
        if (box->isChecked() != checked) {
            QTest::mouseClick(box, Qt::LeftButton);
        }
        EXPECT_EQ(box->isChecked(), checked);
        if (close) {
            dialog.findChild<QPushButton*>(QStringLiteral("close"))->click();
        } else {
            QTest::keyClick(&dialog, Qt::Key_Escape);
        }
        EXPECT_FALSE(dialog.isVisible());
        return shown;
    }

    [[nodiscard]] bool Stored() {
        return IniNotifySetting(root_ / "portmaven" / "portmaven.conf").IsEnabled();
    }

    fs::path root_;
    config::CommandList commands_;
    config::testing::FakeRunKey runKey_;
    config::testing::FakeSaver saver_{commands_};
};

TEST_F(ConfigureNotifyBox, OnByDefaultStoredByCloseDiscardedByEscape) {
    EXPECT_TRUE(OpenSetAndLeave(false, /*close=*/false)) << "no file: the box starts checked";
    EXPECT_FALSE(fs::exists(root_ / "portmaven" / "portmaven.conf")) << "Escape wrote the file";
    EXPECT_TRUE(Stored());

    EXPECT_TRUE(OpenSetAndLeave(false, /*close=*/true));
    EXPECT_FALSE(Stored());

    EXPECT_FALSE(OpenSetAndLeave(true, /*close=*/false)) << "the stored switch is shown";
    EXPECT_FALSE(Stored());

    EXPECT_FALSE(OpenSetAndLeave(true, /*close=*/true));
    EXPECT_TRUE(Stored());
}

} // namespace
} // namespace portmaven::qt
