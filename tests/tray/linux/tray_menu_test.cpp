// The Qt menu made from the portable model: what a user reads in it, what a click runs, and
// what a rebuild leaves behind.
#include "tray/linux/tray_menu.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace portmaven::linux_desktop {
namespace {

class TrayMenuQt : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (QApplication::instance() == nullptr) {
            static int argc = 1;
            static char name[] = "tray_menu_test";
            static char* argv[] = {name, nullptr};
            // Never destroyed: at exit Qt's theme and style globals may already be gone.
            new QApplication(argc, argv); // NOLINT(cppcoreguidelines-owning-memory)
        }
    }

    static config::CommandList Commands(std::initializer_list<std::u16string_view> names) {
        config::CommandList list;
        for (const std::u16string_view name : names) {
            list.AppendCommand(config::MakeCommandRecord(name, u"picocom %PORT%"));
        }
        return list;
    }

    // The top-level actions that open a port's submenu, in menu order.
    static std::vector<QMenu*> PortMenus(const QMenu& menu) {
        std::vector<QMenu*> ports;
        for (QAction* action : menu.actions()) {
            if (action->menu() != nullptr) {
                ports.push_back(action->menu());
            }
        }
        return ports;
    }

    std::vector<std::pair<std::size_t, int>> launched_;
    TrayMenuActions actions_{
        .launch = [this](std::size_t port, int command) { launched_.emplace_back(port, command); },
        .properties = [] {},
        .about = [] {},
        .exit = [] {}};
};

TEST_F(TrayMenuQt, NamesFromDataShowTheirAmpersandsAsWritten) {
    const std::vector<ports::SerialPort> present = {
        {u"/dev/ttyUSB0", u"0", u"Tom & Jerry (/dev/ttyUSB0)"}};
    QMenu menu;
    FillTrayMenu(
        menu, tray::BuildTrayMenuModel(present, Commands({u"Build & Flash"}), tray::kLinuxLayout),
        actions_);
    const std::vector<QMenu*> ports = PortMenus(menu);
    ASSERT_EQ(ports.size(), 1u);
    // Qt shows a text without its mnemonic marks: what the user reads.
    EXPECT_EQ(ports[0]->menuAction()->iconText(), QStringLiteral("Tom & Jerry (/dev/ttyUSB0)"));
    ASSERT_FALSE(ports[0]->actions().isEmpty());
    EXPECT_EQ(ports[0]->actions()[0]->iconText(), QStringLiteral("Build & Flash"));
    // The program's own entries keep their texts.
    EXPECT_EQ(menu.actions().back()->iconText(), QStringLiteral("Exit"));
}

TEST_F(TrayMenuQt, ACommandRunsOnThePortItWasChosenUnderAcrossRebuilds) {
    std::vector<ports::SerialPort> present = {{u"/dev/ttyACM0", u"0", u"Pico (/dev/ttyACM0)"},
                                              {u"/dev/ttyUSB0", u"0", u"FTDI (/dev/ttyUSB0)"}};
    const config::CommandList commands = Commands({u"Terminal", u"Flash"});
    QMenu menu;
    FillTrayMenu(menu, tray::BuildTrayMenuModel(present, commands, tray::kLinuxLayout), actions_);
    const auto submenusAtFirst = menu.findChildren<QMenu*>().size();

    // Rebuilds replace the submenus instead of piling them up.
    for (int i = 0; i < 50; ++i) {
        FillTrayMenu(menu, tray::BuildTrayMenuModel(present, commands, tray::kLinuxLayout),
                     actions_);
    }
    EXPECT_EQ(menu.findChildren<QMenu*>().size(), submenusAtFirst);

    const std::vector<QMenu*> ports = PortMenus(menu);
    ASSERT_EQ(ports.size(), 2u);
    ASSERT_GE(ports[1]->actions().size(), 2);
    ports[1]->actions()[1]->trigger();
    ports[0]->actions()[0]->trigger();
    EXPECT_EQ(launched_, (std::vector<std::pair<std::size_t, int>>{{1, 1}, {0, 0}}));
}

TEST_F(TrayMenuQt, EachPortShowsItsOwnDefaultCommandBold) {
    std::vector<ports::SerialPort> present = {{u"/dev/ttyACM0", u"0", u"Pico (/dev/ttyACM0)"},
                                              {u"/dev/ttyUSB0", u"0", u"FTDI (/dev/ttyUSB0)"},
                                              {u"/dev/ttyUSB1", u"1", u"CH340 (/dev/ttyUSB1)"}};
    present[0].launch.defaultCommand = u"Flash";
    present[1].launch.defaultCommand = u"Terminal";
    present[2].launch.defaultCommand = u"Deleted since";
    QMenu menu;
    FillTrayMenu(
        menu,
        tray::BuildTrayMenuModel(present, Commands({u"Terminal", u"Flash"}), tray::kLinuxLayout),
        actions_);
    std::vector<std::vector<bool>> bold;
    for (const QMenu* port : PortMenus(menu)) {
        bold.push_back({port->actions()[0]->font().bold(), port->actions()[1]->font().bold()});
    }
    EXPECT_EQ(bold, (std::vector<std::vector<bool>>{{false, true}, {true, false}, {false, false}}));
}

} // namespace
} // namespace portmaven::linux_desktop
