// The tray menu's content for given ports and commands, and what the menu remembers while the
// user moves through it.
#include "tray/menu_ids.h"
#include "tray/menu_selection.h"
#include "tray/tray_menu_model.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace portmaven::tray {
namespace {

config::CommandList Commands(int count) {
    config::CommandList list;
    for (int i = 0; i < count; ++i) {
        const std::u16string n = u"Cmd" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26));
        list.AppendCommand(config::MakeCommandRecord(n, u"tool.exe %PORTNUM%"));
    }
    return list;
}

std::vector<ports::SerialPort> Ports(std::initializer_list<std::u16string_view> labels) {
    std::vector<ports::SerialPort> ports;
    int number = 1;
    for (const std::u16string_view label : labels) {
        const std::u16string digits(1, static_cast<char16_t>(u'0' + number++));
        ports.push_back({u"COM" + digits, digits, std::u16string(label)});
    }
    return ports;
}

// An item's id by its name in menu_ids.h; a command or a hidden port by its index.
std::string IdName(int id) {
    const std::map<int, std::string> fixed{{kNoSerialPortsId, "NoSerialPorts"},
                                           {kPortDetailsId, "PortDetails"},
                                           {kCopyPortNameId, "CopyPortName"},
                                           {kPortSettingsId, "PortSettings"},
                                           {kHidePortId, "HidePort"},
                                           {kBlankItemId, "BlankItem"},
                                           {kDeviceManagerId, "DeviceManager"},
                                           {kPropertiesId, "Properties"},
                                           {kAboutId, "About"},
                                           {kExitId, "Exit"}};
    if (const auto found = fixed.find(id); found != fixed.end()) {
        return found->second;
    }
    if (id >= kFirstCommandId && id <= kLastCommandId) {
        return "Command+" + std::to_string(id - kFirstCommandId);
    }
    if (id >= kFirstShowPortId && id <= kLastShowPortId) {
        return "ShowPort+" + std::to_string(id - kFirstShowPortId);
    }
    return "unknown " + std::to_string(id);
}

// One line per entry, nested entries indented: the kind or action, the text, the id, and
// what makes an entry greyed or pictured.
std::string Outline(const std::vector<MenuEntry>& entries, const std::string& indent = "") {
    std::string out;
    for (const MenuEntry& entry : entries) {
        out += indent;
        switch (entry.kind) {
        case MenuEntry::Kind::Separator:
            out += "----\n";
            continue;
        case MenuEntry::Kind::Port:
            out += "port " + std::to_string(entry.port) + " ";
            break;
        case MenuEntry::Kind::Submenu:
            out += "submenu ";
            break;
        case MenuEntry::Kind::Item:
            out += "item " + IdName(entry.id) + " ";
            break;
        }
        out += "'" + std::string(entry.text.begin(), entry.text.end()) + "'";
        out += entry.greyed ? " greyed" : "";
        out += entry.icon != MenuIcon::None ? " icon" : "";
        out += "\n";
        out += Outline(entry.children, indent + "  ");
    }
    return out;
}

TEST(TrayMenuModel, WindowsLayoutFollowsTheTemplate) {
    std::vector<ports::SerialPort> ports = Ports({u"B (COM4)", u"A (COM1)", u"C (COM3)"});
    // A name of the user's replaces the description; a hidden port is listed only to be shown
    // again. Every port's own items come after a separator, under the same ids.
    ports[0].userName = u"Probe & co";
    ports[0].device = {.vendorId = u"0403", .productId = u"6001", .serial = u"A5"};
    ports[1].hidden = true;
    const TrayMenuModel model = BuildTrayMenuModel(ports, Commands(3), kWindowsLayout);
    EXPECT_EQ(Outline(model.entries), "port 0 'Probe && co (COM1)' icon\n"
                                      "  ----\n"
                                      "  item PortDetails '0403:6001 \xb7 SN A5' greyed\n"
                                      "  item CopyPortName 'Copy Port Name'\n"
                                      "  item PortSettings 'Port Settings&'\n"
                                      "  item HidePort 'Hide Port'\n"
                                      "port 2 'C (COM3)' icon\n"
                                      "  ----\n"
                                      "  item PortDetails 'No device details' greyed\n"
                                      "  item CopyPortName 'Copy Port Name'\n"
                                      "  item PortSettings 'Port Settings&'\n"
                                      "  item HidePort 'Hide Port'\n"
                                      "submenu 'Hidden Ports'\n"
                                      "  item ShowPort+0 'A (COM1)'\n"
                                      "item BlankItem ''\n"
                                      "item DeviceManager 'Device Manager' icon\n"
                                      "item Properties 'Properties' icon\n"
                                      "----\n"
                                      "item About 'About Portmaven' icon\n"
                                      "item Exit 'Exit' icon\n");
    EXPECT_EQ(model.entries[0].children[2].action, MenuAction::CopyPortName);
    EXPECT_EQ(model.entries[1].children[4].action, MenuAction::HidePort);
    EXPECT_EQ(model.entries[1].children[4].port, 2u);
    EXPECT_EQ(model.entries[2].children[0].action, MenuAction::ShowPort);
    EXPECT_EQ(model.entries[2].children[0].port, 1u);
    EXPECT_EQ(Outline(model.commandItems), "item Command+0 'CmdA' icon\n"
                                           "item Command+1 'CmdB' icon\n"
                                           "item Command+2 'CmdC' icon\n");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(model.commandItems[static_cast<std::size_t>(i)].action,
                  MenuAction::LaunchCommand);
        EXPECT_EQ(model.commandItems[static_cast<std::size_t>(i)].command, i);
    }
}

TEST(TrayMenuModel, LinuxLayoutWithoutPortsOrCommandsShowsThePlaceholders) {
    const TrayMenuModel model = BuildTrayMenuModel({}, config::CommandList{}, kLinuxLayout);
    EXPECT_EQ(Outline(model.entries), "item NoSerialPorts '<No Serial Ports>' greyed\n"
                                      "----\n"
                                      "item Properties 'Properties' icon\n"
                                      "item About 'About Portmaven' icon\n"
                                      "item Exit 'Exit' icon\n");
    EXPECT_EQ(Outline(model.commandItems), "item Command+0 '<Empty>' greyed\n");
    EXPECT_EQ(model.entries[2].action, MenuAction::Properties);
    EXPECT_EQ(model.entries[4].action, MenuAction::Exit);
}

TEST(TrayMenuModel, TextsFromDataShowTheirAmpersandsAsWritten) {
    config::CommandList commands;
    commands.AppendCommand(config::MakeCommandRecord(u"Build & Flash", u"make flash"));
    commands.AppendCommand(config::MakeCommandRecord(u"&&", u"x"));
    const TrayMenuModel model =
        BuildTrayMenuModel(Ports({u"Tom & Jerry's board (COM1)"}), commands, kLinuxLayout);
    EXPECT_EQ(model.entries[0].text, u"Tom && Jerry's board (COM1)");
    EXPECT_EQ(model.commandItems[0].text, u"Build && Flash");
    EXPECT_EQ(model.commandItems[1].text, u"&&&&");
    // The program's own texts keep what they say.
    EXPECT_EQ(model.entries.back().text, u"Exit");
    EXPECT_EQ(EscapeMenuText(u""), u"");
    EXPECT_EQ(EscapeMenuText(u"no mnemonic"), u"no mnemonic");
}

TEST(TrayMenuModel, PortsPastOneScreenGoIntoNestedMorePortsSubmenus) {
    std::vector<ports::SerialPort> ports(65, ports::SerialPort{u"COM1", u"1", u"P (COM1)"});
    const TrayMenuModel model = BuildTrayMenuModel(ports, Commands(1), kLinuxLayout);

    // Every port is listed once, in order, however deep; no level holds more than 30 entries
    // of ports and "More Ports".
    std::vector<std::size_t> listed;
    const std::vector<MenuEntry>* level = &model.entries;
    int depth = 0;
    while (level != nullptr) {
        const std::vector<MenuEntry>* next = nullptr;
        std::size_t onLevel = 0;
        for (const MenuEntry& entry : *level) {
            if (entry.kind == MenuEntry::Kind::Port) {
                listed.push_back(entry.port);
                ++onLevel;
            } else if (entry.kind == MenuEntry::Kind::Submenu) {
                EXPECT_EQ(entry.text, u"More Ports");
                next = &entry.children;
                ++onLevel;
            }
        }
        EXPECT_LE(onLevel, kLinuxLayout.portsPerLevel);
        level = next;
        ++depth;
    }
    EXPECT_EQ(depth, 3);
    ASSERT_EQ(listed.size(), ports.size());
    for (std::size_t i = 0; i < listed.size(); ++i) {
        EXPECT_EQ(listed[i], i);
    }
    // The program's own entries stay on the top level, below the ports.
    EXPECT_EQ(model.entries.back().action, MenuAction::Exit);

    // Windows lists them all on one level: its menus scroll.
    EXPECT_EQ(BuildTrayMenuModel(ports, Commands(1), kWindowsLayout).entries.size(),
              ports.size() + 6);
}

TEST(TrayMenuModel, EveryCommandGetsAnIdIncludingTheEleventh) {
    const TrayMenuModel model = BuildTrayMenuModel({}, Commands(12), kWindowsLayout);
    ASSERT_EQ(model.commandItems.size(), 12u);
    EXPECT_EQ(model.commandItems[10].id, kFirstCommandId + 10);
    EXPECT_EQ(model.commandItems[10].text, u"CmdK");
    EXPECT_EQ(model.commandItems[11].id, kFirstCommandId + 11);
}

TEST(TrayMenuModel, CommandsBeyondTheIdRangeAreNotListed) {
    const TrayMenuModel model =
        BuildTrayMenuModel({}, Commands(kMaxCommandItems + 2), kWindowsLayout);
    ASSERT_EQ(model.commandItems.size(), static_cast<std::size_t>(kMaxCommandItems));
    EXPECT_EQ(model.commandItems.back().id, kLastCommandId);
}

MenuHighlight Item(int id) {
    return {.kind = MenuHighlight::Kind::Item, .item = static_cast<unsigned>(id)};
}
// Submenu entries report their position.
MenuHighlight Submenu(unsigned position) {
    return {.kind = MenuHighlight::Kind::Item, .item = position, .opensSubmenu = true};
}
constexpr MenuHighlight kSeparator{.kind = MenuHighlight::Kind::Separator};
constexpr MenuHighlight kClosed{.kind = MenuHighlight::Kind::Closed};

TEST(MenuSelection, RemembersThePortEntryAndTheCommandChosenUnderIt) {
    MenuSelection selection;
    EXPECT_EQ(selection.port, -1);
    EXPECT_EQ(selection.commandId, -1);
    // Highlight port 1, then port 2, open its submenu, highlight and click the first command.
    selection = TrackMenuSelect(selection, Submenu(0), 2);
    selection = TrackMenuSelect(selection, Submenu(1), 2);
    selection = TrackMenuSelect(selection, Item(kFirstCommandId), 2);
    EXPECT_EQ(selection.port, 1);
    EXPECT_EQ(selection.commandId, kFirstCommandId);
    // The menu closes. Nothing is forgotten or overwritten.
    selection = TrackMenuSelect(selection, kClosed, 2);
    EXPECT_EQ(selection.port, 1);
    EXPECT_EQ(selection.commandId, kFirstCommandId);
}

TEST(MenuSelection, IgnoresItemsThatAreNeitherPortsNorCommands) {
    MenuSelection selection{.port = 0, .commandId = kFirstCommandId + 1};
    selection = TrackMenuSelect(selection, Item(kDeviceManagerId), 2);
    selection = TrackMenuSelect(selection, Item(kNoSerialPortsId), 0);
    selection = TrackMenuSelect(selection, Item(kFirstCommandId - 1), 2);
    selection = TrackMenuSelect(selection, Item(kLastCommandId + 1), 2);
    selection = TrackMenuSelect(selection, kSeparator, 2);
    // "Hidden Ports", the submenu after the two port entries.
    selection = TrackMenuSelect(selection, Submenu(2), 2);
    EXPECT_EQ(selection.port, 0);
    EXPECT_EQ(selection.commandId, kFirstCommandId + 1);
}

TEST(MenuSelection, RecordsEveryCommandIdInRange) {
    MenuSelection selection;
    selection = TrackMenuSelect(selection, Item(kFirstCommandId + 10), 1);
    EXPECT_EQ(selection.commandId, kFirstCommandId + 10);
    selection = TrackMenuSelect(selection, Item(kLastCommandId), 1);
    EXPECT_EQ(selection.commandId, kLastCommandId);
    EXPECT_EQ(selection.port, -1);
}

} // namespace
} // namespace portmaven::tray
