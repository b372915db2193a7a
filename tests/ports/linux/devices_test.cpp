// A port's device on the Linux desktop: its identity from udev and the port's own menu entries
// (copy, port settings, hide, show again) through the real Qt menu and dialog, with the user's
// settings in a real settings file. Runs under umockdev's preload, offscreen.
#include "ports/device_identity.h"
#include "tray/port_details.h"
#include "ports/device_settings.h"
#include "ports/linux/device_store.h"
#include "ports/linux/port_actions.h"
#include "ports/linux/port_settings_dialog.h"
#include "ports/linux/serial_port_enum.h"
#include "tray/linux/tray_menu.h"
#include "tray/tray_menu_model.h"

#include "support/linux/umockdev_testbed.h"
#include "support/linux/wait.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace portmaven::linux_desktop {
namespace {

using test::UsbSerialAdapter;
using test::WaitFor;

UsbSerialAdapter FtdiBoard(const std::string& tty) {
    return {.tty = tty,
            .busPort = "1-1",
            .properties = {{"ID_MODEL", "FT232R_USB_UART"},
                           {"ID_VENDOR_ID", "0403"},
                           {"ID_MODEL_ID", "6001"},
                           {"ID_SERIAL_SHORT", "A50285BI"},
                           {"ID_VENDOR", "FTDI"},
                           {"ID_PATH", "pci-0000:00:14.0-usb-0:1:1.0"}},
            .driver = "ftdi_sio"};
}

// No serial number: where it is plugged in stands for it. The vendor's name comes from the
// hardware database when there is one.
const UsbSerialAdapter kCh340{.tty = "ttyUSB3",
                              .busPort = "1-4",
                              .properties = {{"ID_VENDOR_ID", "1a86"},
                                             {"ID_MODEL_ID", "7523"},
                                             {"ID_VENDOR", "1a86"},
                                             {"ID_VENDOR_FROM_DATABASE", "QinHeng Electronics"},
                                             {"ID_PATH", "pci-0000:00:14.0-usb-0:4:1.0"}},
                              .driver = "ch341-uart"};

QMenu* Submenu(QMenu& menu, const QString& title) {
    for (QAction* action : menu.actions()) {
        if (action->menu() != nullptr && action->text() == title) {
            return action->menu();
        }
    }
    return nullptr;
}

QAction* Action(QMenu* menu, const QString& text) {
    if (menu == nullptr) {
        return nullptr;
    }
    for (QAction* action : menu->actions()) {
        if (action->text() == text) {
            return action;
        }
    }
    return nullptr;
}

class DevicesUdev : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(umockdev_in_mock_environment())
            << "run this test through umockdev-wrapper, which preloads the udev mock";
        ASSERT_TRUE(config_.isValid());
        settingsFile_ =
            (config_.path() + QStringLiteral("/portmaven/portmaven.conf")).toStdString();
    }

    void Plug(const UsbSerialAdapter& adapter) {
        std::string error;
        ASSERT_TRUE(testbed_.Add(RecordOf(adapter), error)) << error;
    }

    // The menu for the ports present now, its port items wired as the host wires them.
    std::unique_ptr<QMenu> Menu() {
        std::optional<std::vector<ports::SerialPort>> present = EnumerateKnownPorts(settingsFile_);
        EXPECT_TRUE(present);
        ports_ = present.value_or(std::vector<ports::SerialPort>{});
        TrayMenuActions actions;
        actions.copyPortName = [this](std::size_t port) { CopyPortName(ports_.at(port)); };
        actions.portSettings = [this](std::size_t port) {
            EditPortSettings(ports_.at(port), {}, u"", settingsFile_);
        };
        actions.hidePort = [this](std::size_t port) {
            SetPortHidden(ports_.at(port), true, settingsFile_);
        };
        actions.showPort = [this](std::size_t port) {
            SetPortHidden(ports_.at(port), false, settingsFile_);
        };
        auto menu = std::make_unique<QMenu>();
        FillTrayMenu(*menu,
                     tray::BuildTrayMenuModel(ports_, config::CommandList{}, tray::kLinuxLayout),
                     actions);
        return menu;
    }

    // Types a name into the Port Settings dialog once it is up, then presses `key` in the name
    // box.
    static void AnswerRenameDialog(const QString& text, int key) {
        QTimer::singleShot(0, [text, key] {
            auto* dialog = dynamic_cast<PortSettingsDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Port Settings"));
            dialog->NameEdit()->setText(text);
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QApplication::sendEvent(dialog->NameEdit(), &press);
        });
    }

    int argc_ = 1;
    char name_[13] = "devices_test";
    char* argv_[2] = {name_, nullptr};
    QApplication application_{argc_, argv_};
    test::UmockdevTestbed testbed_;
    QTemporaryDir config_;
    std::filesystem::path settingsFile_;
    std::vector<ports::SerialPort> ports_;
};

TEST_F(DevicesUdev, Identity) {
    Plug(FtdiBoard("ttyUSB0"));
    Plug(kCh340);
    const auto ports = EnumerateSerialPorts();
    ASSERT_TRUE(ports);
    ASSERT_EQ(ports->size(), 2u);
    EXPECT_EQ(ports::DeviceKey((*ports)[0]), u"usb:0403:6001:A50285BI");
    EXPECT_EQ(ports::DeviceKey((*ports)[1]), u"usb:1a86:7523@pci-0000:00:14.0-usb-0:4:1.0");
    EXPECT_EQ(tray::PortDetailsText((*ports)[1]), u"1a86:7523 \u00b7 QinHeng Electronics");
}

TEST_F(DevicesUdev, CopyRenameHideAndShowThroughTheMenu) {
    Plug(FtdiBoard("ttyUSB0"));
    Plug(kCh340);

    std::unique_ptr<QMenu> menu = Menu();
    QMenu* board = Submenu(*menu, QStringLiteral("FT232R USB UART (/dev/ttyUSB0)"));
    ASSERT_NE(board, nullptr);
    ASSERT_NE(Action(board, QStringLiteral("Copy Port Name")), nullptr);
    Action(board, QStringLiteral("Copy Port Name"))->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("/dev/ttyUSB0"));

    // Escape keeps the name as it was; Enter takes the new one.
    AnswerRenameDialog(QStringLiteral("ignored"), Qt::Key_Escape);
    Action(board, QStringLiteral("Port Settings\u2026"))->trigger();
    menu = Menu();
    EXPECT_NE(Submenu(*menu, QStringLiteral("FT232R USB UART (/dev/ttyUSB0)")), nullptr);
    AnswerRenameDialog(QStringLiteral("Pico probe"), Qt::Key_Return);
    Action(Submenu(*menu, QStringLiteral("FT232R USB UART (/dev/ttyUSB0)")),
           QStringLiteral("Port Settings\u2026"))
        ->trigger();

    // udev gives the board another name: its own name goes with it.
    testbed_.Unplug(FtdiBoard("ttyUSB0"));
    Plug(FtdiBoard("ttyUSB1"));
    menu = Menu();
    QMenu* renamed = Submenu(*menu, QStringLiteral("Pico probe (/dev/ttyUSB1)"));
    ASSERT_NE(renamed, nullptr);

    Action(renamed, QStringLiteral("Hide Port"))->trigger();
    menu = Menu();
    EXPECT_EQ(Submenu(*menu, QStringLiteral("Pico probe (/dev/ttyUSB1)")), nullptr);
    QMenu* hidden = Submenu(*menu, QStringLiteral("Hidden Ports"));
    ASSERT_NE(hidden, nullptr);
    ASSERT_EQ(hidden->actions().size(), 1);
    EXPECT_EQ(hidden->actions()[0]->text(), QStringLiteral("Pico probe (/dev/ttyUSB1)"));
    hidden->actions()[0]->trigger();
    menu = Menu();
    EXPECT_NE(Submenu(*menu, QStringLiteral("Pico probe (/dev/ttyUSB1)")), nullptr);
    EXPECT_EQ(Submenu(*menu, QStringLiteral("Hidden Ports")), nullptr);

    // A value of another kind (a list, as another program might write) is not a name.
    {
        QSettings settings(QString::fromStdString(settingsFile_.string()), QSettings::IniFormat);
        settings.setValue(QStringLiteral("Devices/usb:0403:6001:A50285BI|name"),
                          QStringList{QStringLiteral("a"), QStringLiteral("b")});
    }
    menu = Menu();
    EXPECT_NE(Submenu(*menu, QStringLiteral("FT232R USB UART (/dev/ttyUSB1)")), nullptr);

    // A folder whose name is not UTF-8 ("café" in Latin-1) has no name in Qt: no name is kept,
    // nor written under the one Qt would make up.
    const std::filesystem::path root = config_.path().toStdString();
    IniDeviceStore elsewhere(root / "caf\xe9" / "portmaven.conf");
    EXPECT_FALSE(ports::SetPortName(elsewhere, ports_[0], u"Lost"));
    EXPECT_FALSE(std::filesystem::exists(root / "caf\xef\xbf\xbd"));
}

} // namespace
} // namespace portmaven::linux_desktop
