// WM_MENUSELECT's item and flags, as the menu system sends them, through the decoding into
// the selection the launch reads.
#include "tray/win/menu_highlight.h"

#include "tray/menu_ids.h"

#include <gtest/gtest.h>

namespace portmaven::win {
namespace {

using tray::MenuSelection;

MenuSelection Select(MenuSelection current, UINT item, UINT flags, std::size_t ports) {
    return tray::TrackMenuSelect(current, DecodeMenuHighlight(item, flags), ports);
}

constexpr UINT kFirstCommand = tray::kFirstCommandId;

TEST(MenuHighlightWin, PortEntriesAndCommandsAreRememberedUntilTheMenuCloses) {
    MenuSelection selection;
    // Port entries are submenus reported by position; commands by id.
    selection = Select(selection, 0, MF_POPUP | MF_HILITE, 2);
    selection = Select(selection, 1, MF_POPUP | MF_HILITE, 2);
    selection = Select(selection, kFirstCommand, MF_HILITE, 2);
    EXPECT_EQ(selection.port, 1);
    EXPECT_EQ(selection.commandId, tray::kFirstCommandId);
    // The menu closes: flags 0xFFFF, item 0 (which would otherwise be port 0).
    selection = Select(selection, 0, 0xFFFF, 2);
    EXPECT_EQ(selection.port, 1);
    EXPECT_EQ(selection.commandId, tray::kFirstCommandId);
}

TEST(MenuHighlightWin, SeparatorsAndOtherItemsChangeNothing) {
    MenuSelection selection{.port = 0, .commandId = tray::kFirstCommandId + 1};
    selection = Select(selection, tray::kDeviceManagerId, MF_HILITE, 2);
    selection = Select(selection, tray::kNoSerialPortsId, MF_HILITE | MF_GRAYED, 0);
    selection = Select(selection, 1, MF_SEPARATOR, 2); // a separator at position 1
    selection = Select(selection, kFirstCommand + 1, MF_SEPARATOR | MF_HILITE, 2);
    EXPECT_EQ(selection.port, 0);
    EXPECT_EQ(selection.commandId, tray::kFirstCommandId + 1);

    EXPECT_EQ(DecodeMenuHighlight(0, 0xFFFF).kind, tray::MenuHighlight::Kind::Closed);
    EXPECT_EQ(DecodeMenuHighlight(3, MF_SEPARATOR).kind, tray::MenuHighlight::Kind::Separator);
}

// With more ports than the ids of a port's own items and of the hidden ports, those ids are
// still items of the port whose submenu is open, not positions of other ports.
TEST(MenuHighlightWin, WithManyPortsOnlySubmenuEntriesArePorts) {
    constexpr std::size_t kPorts = 120;
    MenuSelection selection;
    selection = Select(selection, 5, MF_POPUP | MF_HILITE, kPorts);
    for (const int id :
         {tray::kPortDetailsId, tray::kCopyPortNameId, tray::kPortSettingsId, tray::kHidePortId}) {
        selection = Select(selection, static_cast<UINT>(id), MF_HILITE, kPorts);
    }
    EXPECT_EQ(selection.port, 5);

    // "Hidden Ports" opens after the 120 port entries; its entries are named by id.
    selection = Select(selection, kPorts, MF_POPUP | MF_HILITE, kPorts);
    selection = Select(selection, tray::kFirstShowPortId, MF_HILITE, kPorts);
    EXPECT_EQ(selection.port, 5);

    selection = Select(selection, kPorts - 1, MF_POPUP | MF_HILITE, kPorts);
    EXPECT_EQ(selection.port, 119);
    EXPECT_EQ(selection.commandId, -1);
}

} // namespace
} // namespace portmaven::win
