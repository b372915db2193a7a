// The Configure dialog's "Notify when serial ports come and go" box over the real INI file, on
// the offscreen platform: read when the dialog opens, stored by Close, discarded by Escape.
#include "config/linux/configure_dialog.h"
#include "config/linux/notify_setting.h"

#include "config/configure_fakes.h"
#include "support/temp_dir.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace portmaven::linux_desktop {
namespace {

namespace fs = std::filesystem;

class ConfigureNotifyBox : public ::testing::Test {
protected:
    // Opens the dialog, sets the box, and leaves through Close or Escape; returns what the
    // box showed when the dialog opened.
    bool OpenSetAndLeave(bool checked, bool close) {
        IniNotifySetting setting(root_ / "portmaven" / "portmaven.conf");
        ConfigureDialog dialog(commands_, runKey_, saver_, setting, u"picocom %PORT%");
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

    config::testing::TempDir dir_;
    const fs::path& root_ = dir_.Path();
    config::CommandList commands_;
    config::testing::FakeRunKey runKey_;
    config::testing::FakeSaver saver_;
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
} // namespace portmaven::linux_desktop
