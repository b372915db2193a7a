// WM_MENUSELECT's item and flags, as the menu system sends them, through the decoding into
// the selection the launch reads.
#include "tray/win/menu_highlight.h"

#include <gtest/gtest.h>

namespace portmaven::win {
namespace {

using tray::MenuSelection;

MenuSelection Select(MenuSelection current, UINT item, UINT flags, std::size_t ports) {
    return tray::TrackMenuSelect(current, DecodeMenuHighlight(item, flags), ports);
}

TEST(MenuHighlightWin, PortEntriesAndCommandsAreRememberedUntilTheMenuCloses) {
    MenuSelection selection;
    // Port entries are submenus reported by position; commands by id.
    selection = Select(selection, 0, MF_POPUP | MF_HILITE, 2);
    selection = Select(selection, 1, MF_POPUP | MF_HILITE, 2);
    selection = Select(selection, 501, MF_HILITE, 2);
    EXPECT_EQ(selection.port, 1);
    EXPECT_EQ(selection.commandId, 501);
    // The menu closes: flags 0xFFFF, item 0 (which would otherwise be port 0).
    selection = Select(selection, 0, 0xFFFF, 2);
    EXPECT_EQ(selection.port, 1);
    EXPECT_EQ(selection.commandId, 501);
}

TEST(MenuHighlightWin, SeparatorsAndOtherItemsChangeNothing) {
    MenuSelection selection{.port = 0, .commandId = 502};
    selection = Select(selection, 32772, MF_HILITE, 2);           // Device Manager
    selection = Select(selection, 100, MF_HILITE | MF_GRAYED, 0); // "<No Serial Ports>"
    selection = Select(selection, 1, MF_SEPARATOR, 2);            // a separator at position 1
    selection = Select(selection, 502, MF_SEPARATOR | MF_HILITE, 2);
    EXPECT_EQ(selection.port, 0);
    EXPECT_EQ(selection.commandId, 502);

    EXPECT_EQ(DecodeMenuHighlight(7, MF_HILITE).kind, tray::MenuHighlight::Kind::Item);
    EXPECT_EQ(DecodeMenuHighlight(7, MF_HILITE).item, 7u);
    EXPECT_EQ(DecodeMenuHighlight(0, 0xFFFF).kind, tray::MenuHighlight::Kind::Closed);
    EXPECT_EQ(DecodeMenuHighlight(3, MF_SEPARATOR).kind, tray::MenuHighlight::Kind::Separator);
}

} // namespace
} // namespace portmaven::win
