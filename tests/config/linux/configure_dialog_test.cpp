// The Qt Configure dialog on the offscreen platform, driven through its widgets, over the
// real command file and autostart entry in a private configuration folder.
#include "config/command_list.h"
#include "config/linux/autostart_run_key.h"
#include "config/linux/command_store.h"
#include "config/linux/configure_dialog.h"
#include "config/linux/notify_setting.h"
#include "config/linux/xdg_config.h"
#include "support/linux/message_box_answerer.h"
#include "support/linux/scoped_env.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace portmaven::linux_desktop::testing {
namespace {

using config::testing::TempDir;
namespace fs = std::filesystem;

using test::MessageBoxAnswerer;

// What the host hands the dialog as the default Connect line.
constexpr char16_t kConnectLine[] = u"x-terminal-emulator -e picocom -b %BAUD% %PORT%";

std::string ReadText(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class ConfigureDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        runKey_ = std::make_unique<AutostartRunKey>(AutostartFilePath(), RunningProgramPath());
        config::g_CommandList.RemoveAllCommands();
        config::g_CommandList.AppendCommand(
            config::MakeCommandRecord(u"Connect", u"picocom -b %BAUD% %PORT%"));
    }
    void TearDown() override { config::g_CommandList.RemoveAllCommands(); }

    // A dialog as "Properties" opens it.
    std::unique_ptr<ConfigureDialog> Open() {
        auto dialog = std::make_unique<ConfigureDialog>(config::g_CommandList, *runKey_, saver_,
                                                        notifySetting_, kConnectLine, nullptr);
        dialog->show();
        return dialog;
    }

    template <typename T> static T* Child(QWidget& dialog, const char* name) {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static QPushButton* Button(QWidget& dialog, const char* name) {
        return Child<QPushButton>(dialog, name);
    }
    static QTableWidget* Rows(QWidget& dialog) { return Child<QTableWidget>(dialog, "commands"); }

    TempDir configHome_;
    test::ScopedEnv configHomeVariable_{"XDG_CONFIG_HOME", configHome_.Path().string()};
    CommandFileStore saver_;
    IniNotifySetting notifySetting_{configHome_.Path() / "portmaven" / "portmaven.conf"};
    // Made once the configuration folder is set, as "Properties" makes it at each opening.
    std::unique_ptr<AutostartRunKey> runKey_;
};

TEST_F(ConfigureDialogTest, AddRefusesACommittedNameThenAddsAndEditsRows) {
    auto dialog = Open();
    QPushButton* add = Button(*dialog, "add");
    QPushButton* edit = Button(*dialog, "edit");
    QPushButton* remove = Button(*dialog, "delete");
    QPushButton* cancel = Button(*dialog, "cancel");
    auto* name = Child<QLineEdit>(*dialog, "name");
    auto* command = Child<QLineEdit>(*dialog, "command");
    EXPECT_EQ(Rows(*dialog)->rowCount(), 1);
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_TRUE(cancel->isHidden());

    add->click();
    EXPECT_EQ(add->text(), "Update");
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_FALSE(remove->isEnabled());
    EXPECT_FALSE(cancel->isHidden());
    EXPECT_EQ(name->text(), "My command");
    EXPECT_EQ(command->text(), QStringView(kConnectLine).toString());

    name->setText(" Connect ");
    {
        MessageBoxAnswerer answerer(QMessageBox::Ok);
        add->click();
        EXPECT_EQ(answerer.Texts(), std::vector<std::string>{"Comand already exist"});
    }
    EXPECT_EQ(add->text(), "Update");
    EXPECT_EQ(Rows(*dialog)->rowCount(), 1);

    name->setText("  Monitor ");
    command->setText("tio %PORT%");
    add->click();
    EXPECT_EQ(add->text(), "Add");
    EXPECT_TRUE(cancel->isHidden());
    ASSERT_EQ(Rows(*dialog)->rowCount(), 2);
    EXPECT_EQ(Rows(*dialog)->item(1, 0)->text(), "Monitor");

    Rows(*dialog)->selectRow(1);
    EXPECT_TRUE(edit->isEnabled());
    edit->click();
    EXPECT_EQ(edit->text(), "Update");
    EXPECT_FALSE(add->isEnabled());
    EXPECT_EQ(command->text(), "tio %PORT%");
    command->setText("tio -b 9600 %PORT%");
    edit->click();
    EXPECT_EQ(edit->text(), "Edit");
    EXPECT_EQ(Rows(*dialog)->item(1, 1)->text(), "tio -b 9600 %PORT%");
    // Nothing is committed before Close.
    EXPECT_EQ(config::g_CommandList.GetCount(), 1);
}

TEST_F(ConfigureDialogTest, DeleteAsksAndCloseSavesTheRowsToTheFile) {
    auto dialog = Open();
    Button(*dialog, "add")->click();
    Button(*dialog, "add")->click(); // the sample command, kept as it is
    Rows(*dialog)->selectRow(0);
    {
        MessageBoxAnswerer answerer(QMessageBox::Yes);
        Button(*dialog, "delete")->click();
        EXPECT_EQ(answerer.Texts(),
                  std::vector<std::string>{"Do you want to delete the selected command?"});
    }
    ASSERT_EQ(Rows(*dialog)->rowCount(), 1);

    Button(*dialog, "close")->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);

    ASSERT_EQ(config::g_CommandList.GetCount(), 1);
    EXPECT_EQ(config::FieldText(config::g_CommandList.At(0).szName), u"My command");
    // The folder did not exist: the first save creates it.
    const fs::path file = configHome_.Path() / "portmaven" / "Portmaven.cfg";
    ASSERT_EQ(fs::file_size(file), config::kRecordBytes);
    config::g_CommandList.RemoveAllCommands();
    LoadCommandList(config::g_CommandList, u"unused default");
    ASSERT_EQ(config::g_CommandList.GetCount(), 1);
    EXPECT_EQ(config::FieldText(config::g_CommandList.At(0).szCommand), kConnectLine);
}

TEST_F(ConfigureDialogTest, AddKeepsWhatWasTypedBeforeItAndFillsOnlyEmptyFields) {
    auto dialog = Open();
    auto* name = Child<QLineEdit>(*dialog, "name");
    auto* command = Child<QLineEdit>(*dialog, "command");
    QTest::keyClicks(name, QStringLiteral("Monitor"));
    Button(*dialog, "add")->click();
    EXPECT_EQ(name->text(), "Monitor");
    EXPECT_EQ(command->text(), QStringView(kConnectLine).toString());

    Button(*dialog, "cancel")->click();
    QTest::keyClicks(command, QStringLiteral("tio %PORT%"));
    Button(*dialog, "add")->click();
    EXPECT_EQ(name->text(), "My command");
    EXPECT_EQ(command->text(), "tio %PORT%");
}

TEST_F(ConfigureDialogTest, LaunchOnStartupWritesAndRemovesTheAutostartEntry) {
    const fs::path entry = configHome_.Path() / "autostart" / "portmaven.desktop";
    {
        auto dialog = Open();
        EXPECT_FALSE(Child<QCheckBox>(*dialog, "launchOnStartup")->isChecked());
        Child<QCheckBox>(*dialog, "launchOnStartup")->setChecked(true);
        Button(*dialog, "close")->click();
    }
    ASSERT_TRUE(fs::exists(entry));
    const std::string text = ReadText(entry);
    EXPECT_NE(text.find("[Desktop Entry]\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Exec=\"" + RunningProgramPath() + "\"\n"), std::string::npos) << text;
    EXPECT_TRUE(fs::path(RunningProgramPath()).is_absolute());

    {
        auto dialog = Open();
        EXPECT_TRUE(Child<QCheckBox>(*dialog, "launchOnStartup")->isChecked());
        Child<QCheckBox>(*dialog, "launchOnStartup")->setChecked(false);
        Button(*dialog, "close")->click();
    }
    EXPECT_FALSE(fs::exists(entry));
}

TEST_F(ConfigureDialogTest, AnEntryThatCannotBeWrittenIsReported) {
    // A file where the autostart folder should be: the folder cannot be made.
    std::ofstream(configHome_.Path() / "autostart") << "in the way";
    auto dialog = Open();
    Child<QCheckBox>(*dialog, "launchOnStartup")->setChecked(true);
    MessageBoxAnswerer answerer(QMessageBox::Ok);
    Button(*dialog, "close")->click();
    EXPECT_EQ(answerer.Texts(), std::vector<std::string>{"Failed, LaunchOnStartup"});
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST(DesktopExecValue, QuotesAndEscapesAsTheDesktopEntryRulesSay) {
    EXPECT_EQ(DesktopExecValue("/usr/bin/portmaven"), "\"/usr/bin/portmaven\"");
    // Inside the quotes: \" \` \$ \\ ; then the string value escapes each backslash again.
    EXPECT_EQ(DesktopExecValue("/opt/my \"tools\"/$x`y\\z/100%/pm"),
              "\"/opt/my \\\\\"tools\\\\\"/\\\\$x\\\\`y\\\\\\\\z/100%%/pm\"");
}

} // namespace
} // namespace portmaven::linux_desktop::testing

int main(int argc, char* argv[]) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
