// The Qt menu made from the portable model: what a user reads in it, what a click runs, and
// what a rebuild leaves behind.
#include "tray/linux/tray_menu.h"

#include "tray/linux/dbus_menu.h"
#include "tray/linux/menu_icons.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QKeySequence>
#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
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

TEST_F(TrayMenuQt, UnderscoresAndAmpersandsReadAsWrittenInQtAndInThePanelsLabels) {
    std::vector<ports::SerialPort> present = {{u"/dev/ttyUSB0", u"0", u"FT232R (/dev/ttyUSB0)"}};
    present[0].userName = u"Pico_probe";
    const tray::TrayMenuModel model = tray::BuildTrayMenuModel(
        present, Commands({u"flash_esp32", u"Build & Flash"}), tray::kLinuxLayout);
    QMenu menu;
    FillTrayMenu(menu, model, actions_);
    const std::vector<QMenu*> ports = PortMenus(menu);
    ASSERT_EQ(ports.size(), 1u);
    ASSERT_GE(ports[0]->actions().size(), 2);
    const std::vector<QAction*> shown = {ports[0]->menuAction(), ports[0]->actions()[0],
                                         ports[0]->actions()[1]};
    const QStringList written = {QStringLiteral("Pico_probe (/dev/ttyUSB0)"),
                                 QStringLiteral("flash_esp32"), QStringLiteral("Build & Flash")};
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const QString text = shown[i]->text();
        EXPECT_EQ(shown[i]->iconText(), written[static_cast<qsizetype>(i)]);
        // No letter of a name becomes a keyboard shortcut of the menu.
        EXPECT_TRUE(QKeySequence::mnemonic(text).isEmpty()) << text.toStdString();
        // The panel's rule: "_" marks a mnemonic and "__" shows one.
        QString panelShows = DBusMenuLabel(text);
        panelShows.replace(QStringLiteral("__"), QStringLiteral("\x01"));
        EXPECT_FALSE(panelShows.contains(u'_')) << panelShows.toStdString();
        EXPECT_EQ(panelShows.replace(u'\x01', u'_'), written[static_cast<qsizetype>(i)]);
    }
    // A mnemonic of the program's own, where a text has one, stays one for the panel.
    EXPECT_EQ(DBusMenuLabel(QStringLiteral("&Open")), QStringLiteral("_Open"));
}

TEST_F(TrayMenuQt, EveryPictureFallsBackToTheProgramsOwnWithoutAThemeThatHasIt) {
    const QTemporaryDir noThemes;
    const QStringList paths = QIcon::themeSearchPaths();
    const QString theme = QIcon::themeName();
    QIcon::setThemeSearchPaths({noThemes.path()});
    QIcon::setThemeName(QStringLiteral("portmaven-test-none"));
    const std::vector<ports::SerialPort> present = {{u"/dev/ttyUSB0", u"0", u"A (/dev/ttyUSB0)"}};
    QMenu menu;
    FillTrayMenu(menu,
                 tray::BuildTrayMenuModel(present, Commands({u"Terminal"}), tray::kLinuxLayout),
                 actions_);
    QList<QAction*> all = menu.actions();
    all += PortMenus(menu)[0]->actions();
    int pictured = 0;
    for (QAction* action : all) {
        if (!action->isSeparator() && !action->icon().isNull()) {
            EXPECT_FALSE(action->icon().pixmap(16, 16).isNull()) << action->text().toStdString();
            ++pictured;
        }
    }
    // The port, its command, Properties, About and Exit.
    EXPECT_GE(pictured, 5);
    EXPECT_FALSE(ProgramIcon().pixmap(22, 22).isNull());
    EXPECT_FALSE(QImage::fromData(OwnMenuIconPng(tray::MenuIcon::Exit), "PNG").isNull());
    QIcon::setThemeSearchPaths(paths);
    QIcon::setThemeName(theme);
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

TEST_F(TrayMenuQt, TheHoldersAnswerRewritesTheDetailsLineInAnOpenMenuButNotAnotherShape) {
    std::vector<ports::SerialPort> present = {{u"/dev/ttyACM0", u"0", u"Pico (/dev/ttyACM0)"},
                                              {u"/dev/ttyUSB0", u"0", u"FTDI (/dev/ttyUSB0)"}};
    present[1].launch.defaultCommand = u"Flash";
    const config::CommandList commands = Commands({u"Terminal", u"Flash"});
    QMenu menu;
    FillTrayMenu(menu, tray::BuildTrayMenuModel(present, commands, tray::kLinuxLayout), actions_);
    QMenu* usb = PortMenus(menu)[1];
    menu.popup(QPoint(0, 0));
    usb->popup(QPoint(10, 10));
    // The greyed line after the separator below the commands.
    const auto detailsLine = [usb] {
        const QList<QAction*> actions = usb->actions();
        const auto separator = std::find_if(actions.begin(), actions.end(),
                                            [](QAction* action) { return action->isSeparator(); });
        return separator + 1 < actions.end() ? (*(separator + 1))->text() : QString();
    };
    EXPECT_FALSE(detailsLine().contains(u"in use by"));

    present[1].usedBy = u"picocom (1234)";
    ASSERT_TRUE(
        UpdateTrayMenuTexts(menu, tray::BuildTrayMenuModel(present, commands, tray::kLinuxLayout)));
    // The same submenu, still open, still running its commands on its port.
    EXPECT_EQ(PortMenus(menu)[1], usb);
    EXPECT_TRUE(usb->isVisible());
    EXPECT_TRUE(detailsLine().endsWith(u"in use by picocom (1234)")) << detailsLine().toStdString();
    usb->actions()[0]->trigger();
    EXPECT_EQ(launched_, (std::vector<std::pair<std::size_t, int>>{{1, 0}}));

    // Another default command, or a port more, is not the same menu: it is left for a fill.
    std::vector<ports::SerialPort> otherDefault = present;
    otherDefault[1].launch.defaultCommand = u"Terminal";
    std::vector<ports::SerialPort> morePorts = present;
    morePorts.push_back({u"/dev/ttyUSB1", u"1", u"CH340 (/dev/ttyUSB1)"});
    for (const auto& other : {otherDefault, morePorts}) {
        EXPECT_FALSE(UpdateTrayMenuTexts(
            menu, tray::BuildTrayMenuModel(other, commands, tray::kLinuxLayout)));
        EXPECT_TRUE(detailsLine().endsWith(u"in use by picocom (1234)"));
    }
    menu.hide();
}

TEST_F(TrayMenuQt, APortTheUserCannotOpenOffersItsFixGreyedAndCopiesTheCommandNotTheLabel) {
    std::vector<ports::SerialPort> present = {{u"/dev/ttyACM0", u"0", u"Pico (/dev/ttyACM0)"},
                                              {u"/dev/ttyUSB0", u"0", u"FTDI (/dev/ttyUSB0)"}};
    present[0].access = {
        .trouble = ports::PortAccess::Trouble::NotInGroup, .group = u"uucp", .user = u"ada_l&co"};
    actions_.copyFixCommand = [&](std::size_t port) { CopyFixCommand(present.at(port)); };
    QMenu menu;
    FillTrayMenu(menu,
                 tray::BuildTrayMenuModel(present, Commands({u"Terminal"}), tray::kLinuxLayout),
                 actions_);
    // Each entry but the separators, one a line, greyed ones marked "~".
    const auto texts = [](const QMenu* port) {
        QStringList shown;
        for (const QAction* action : port->actions()) {
            if (!action->isSeparator()) {
                shown << (action->isEnabled() ? QString() : QStringLiteral("~")) + action->text();
            }
        }
        return shown.join(u'\n').toStdString();
    };
    const std::vector<QMenu*> ports = PortMenus(menu);
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(texts(ports[0]), "Terminal\n"
                               "~no access: not in group uucp\n"
                               "~To fix: sudo usermod -aG uucp ada_l&&co\n"
                               "Copy Port Name\n"
                               "Copy Fix Command\n"
                               "Port Settings\u2026\n"
                               "Hide Port");
    EXPECT_EQ(texts(ports[1]), "Terminal\n"
                               "~No device details\n"
                               "Copy Port Name\n"
                               "Port Settings\u2026\n"
                               "Hide Port");

    for (QAction* action : ports[0]->actions()) {
        if (action->text() == QStringLiteral("Copy Fix Command")) {
            action->trigger();
        }
    }
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("sudo usermod -aG uucp ada_l&co"));
}

} // namespace
} // namespace portmaven::linux_desktop
