// The tray menu's content for given ports and commands, and what the menu remembers while the
// user moves through it.
#include "ports/menu_ids.h"
#include "ports/menu_selection.h"
#include "ports/tray_menu_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace portmaven::ports {
namespace {

config::CommandList Commands(int count) {
    config::CommandList list;
    for (int i = 0; i < count; ++i) {
        const std::u16string n = u"Cmd" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26));
        list.AppendCommand(config::MakeCommandRecord(n, u"tool.exe %PORTNUM%"));
    }
    return list;
}

void ExpectFixedBitmaps(const TrayMenuModel& model) {
    ASSERT_EQ(model.fixedItemBitmaps.size(), 4u);
    const std::vector<std::pair<int, int>> expected = {
        {32772, 154}, {32773, 157}, {32774, 148}, {32775, 149}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(model.fixedItemBitmaps[i].itemId, expected[i].first);
        EXPECT_EQ(model.fixedItemBitmaps[i].bitmapId, expected[i].second);
    }
}

TEST(TrayMenuModel, TwoPortsShareOneSubmenuOfThreeCommands) {
    const std::vector<std::u16string> labels = {u"B (COM4)", u"A (COM1)"};
    const TrayMenuModel model = BuildTrayMenuModel(labels, Commands(3));

    ASSERT_EQ(model.portEntries.size(), 2u);
    EXPECT_EQ(model.portEntries[0].label, u"B (COM4)");
    EXPECT_EQ(model.portEntries[1].label, u"A (COM1)");
    for (const PortEntryModel& entry : model.portEntries) {
        EXPECT_EQ(entry.bitmapId, 159);
    }
    EXPECT_TRUE(model.topItems.empty());

    ASSERT_EQ(model.commandItems.size(), 3u);
    const std::u16string names[] = {u"CmdA", u"CmdB", u"CmdC"};
    for (int i = 0; i < 3; ++i) {
        const MenuItemModel& item = model.commandItems[static_cast<std::size_t>(i)];
        EXPECT_EQ(item.id, 501 + i);
        EXPECT_EQ(item.text, names[i]);
        EXPECT_FALSE(item.greyed);
        EXPECT_EQ(item.bitmapId, 161);
    }
    ExpectFixedBitmaps(model);
}

TEST(TrayMenuModel, NoPortShowsGreyedNoSerialPortsAtTheTop) {
    const TrayMenuModel model = BuildTrayMenuModel({}, Commands(1));
    EXPECT_TRUE(model.portEntries.empty());
    ASSERT_EQ(model.topItems.size(), 1u);
    EXPECT_EQ(model.topItems[0].id, kNoSerialPortsId);
    EXPECT_EQ(model.topItems[0].text, u"<No Serial Ports>");
    EXPECT_TRUE(model.topItems[0].greyed);
    EXPECT_EQ(model.topItems[0].bitmapId, kNoBitmap);
    ExpectFixedBitmaps(model);
}

TEST(TrayMenuModel, NoCommandShowsGreyedEmptyInTheSubmenu) {
    const std::vector<std::u16string> labels = {u" (COM1)"};
    const TrayMenuModel model = BuildTrayMenuModel(labels, config::CommandList{});
    ASSERT_EQ(model.commandItems.size(), 1u);
    EXPECT_EQ(model.commandItems[0].id, 501);
    EXPECT_EQ(model.commandItems[0].text, u"<Empty>");
    EXPECT_TRUE(model.commandItems[0].greyed);
    EXPECT_EQ(model.commandItems[0].bitmapId, kNoBitmap);
    EXPECT_EQ(model.portEntries.size(), 1u);
}

TEST(TrayMenuModel, EveryCommandGetsAnIdIncludingTheEleventh) {
    const TrayMenuModel model = BuildTrayMenuModel({}, Commands(12));
    ASSERT_EQ(model.commandItems.size(), 12u);
    EXPECT_EQ(model.commandItems[10].id, 511);
    EXPECT_EQ(model.commandItems[10].text, u"CmdK");
    EXPECT_EQ(model.commandItems[11].id, 512);
}

TEST(TrayMenuModel, CommandsBeyondTheIdRangeAreNotListed) {
    const TrayMenuModel model = BuildTrayMenuModel({}, Commands(kMaxCommandItems + 2));
    ASSERT_EQ(model.commandItems.size(), static_cast<std::size_t>(kMaxCommandItems));
    EXPECT_EQ(model.commandItems.back().id, kLastCommandId);
}

MenuHighlight Item(unsigned item) {
    return {.kind = MenuHighlight::Kind::Item, .item = item};
}
constexpr MenuHighlight kSeparator{.kind = MenuHighlight::Kind::Separator};
constexpr MenuHighlight kClosed{.kind = MenuHighlight::Kind::Closed};

TEST(MenuSelection, RemembersThePortEntryAndTheCommandChosenUnderIt) {
    MenuSelection selection;
    EXPECT_EQ(selection.port, -1);
    EXPECT_EQ(selection.commandId, -1);
    // Highlight port 1, then port 2 (submenu entries report their position), open its
    // submenu, highlight and click the first command.
    selection = TrackMenuSelect(selection, Item(0), 2);
    selection = TrackMenuSelect(selection, Item(1), 2);
    selection = TrackMenuSelect(selection, Item(501), 2);
    EXPECT_EQ(selection.port, 1);
    EXPECT_EQ(selection.commandId, 501);
    // The menu closes. Nothing is forgotten or overwritten.
    selection = TrackMenuSelect(selection, kClosed, 2);
    EXPECT_EQ(selection.port, 1);
    EXPECT_EQ(selection.commandId, 501);
}

TEST(MenuSelection, IgnoresItemsThatAreNeitherPortsNorCommands) {
    MenuSelection selection{.port = 0, .commandId = 502};
    selection = TrackMenuSelect(selection, Item(32772), 2); // Device Manager
    selection = TrackMenuSelect(selection, Item(100), 0);
    selection = TrackMenuSelect(selection, Item(500), 2);
    selection = TrackMenuSelect(selection, Item(32768), 2);
    selection = TrackMenuSelect(selection, kSeparator, 2);
    EXPECT_EQ(selection.port, 0);
    EXPECT_EQ(selection.commandId, 502);
}

TEST(MenuSelection, RecordsEveryCommandIdInRange) {
    MenuSelection selection;
    selection = TrackMenuSelect(selection, Item(511), 1);
    EXPECT_EQ(selection.commandId, 511);
    selection = TrackMenuSelect(selection, Item(kLastCommandId), 1);
    EXPECT_EQ(selection.commandId, kLastCommandId);
    EXPECT_EQ(selection.port, -1);
}

} // namespace
} // namespace portmaven::ports
