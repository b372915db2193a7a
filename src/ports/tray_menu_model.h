// The tray menu as data: what the menu holds for a given set of ports and commands, built
// without any window system so that it can be checked natively. The Win32 adapter turns it into
// real menus.
#pragma once

#include "config/command_list.h"

#include <span>
#include <string>
#include <vector>

namespace portmaven::ports {

inline constexpr int kNoBitmap = 0;

struct MenuItemModel {
    int id = 0;
    std::u16string text;
    // Greyed items are placeholders ("<Empty>", "<No Serial Ports>"): the menu is shown even
    // when one of them cannot be inserted.
    bool greyed = false;
    int bitmapId = kNoBitmap;
};

// A port entry opens the one command submenu shared by every port.
struct PortEntryModel {
    std::u16string label;
    int bitmapId = kNoBitmap;
};

// A bitmap for an item that the menu template already holds.
struct FixedItemBitmap {
    int itemId = 0;
    int bitmapId = kNoBitmap;
};

struct TrayMenuModel {
    // Items of the shared command submenu, top to bottom.
    std::vector<MenuItemModel> commandItems;
    // Port entries, inserted at the top of the main popup in this order.
    std::vector<PortEntryModel> portEntries;
    // Inserted at the top of the main popup when there is no port entry.
    std::vector<MenuItemModel> topItems;
    std::vector<FixedItemBitmap> fixedItemBitmaps;
};

// The menu for these port labels and this command list. Commands get ids kFirstCommandId + i;
// commands past kMaxCommandItems have no id left and are not listed.
TrayMenuModel BuildTrayMenuModel(std::span<const std::u16string> portLabels,
                                 const config::CommandList& commands);

} // namespace portmaven::ports
