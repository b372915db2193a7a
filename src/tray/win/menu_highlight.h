// WM_MENUSELECT decoded into the highlight the portable selection tracking understands.
#pragma once

#include "tray/menu_selection.h"

#include <windows.h>

namespace portmaven::win {

// `item` and `flags` are the low and high words of WM_MENUSELECT's wParam.
inline tray::MenuHighlight DecodeMenuHighlight(UINT item, UINT flags) noexcept {
    using Kind = tray::MenuHighlight::Kind;
    // A closing menu reports all flags set (0xFFFF) and no menu.
    if (flags == 0xFFFF) {
        return {.kind = Kind::Closed};
    }
    if ((flags & MF_SEPARATOR) != 0) {
        return {.kind = Kind::Separator};
    }
    return {.kind = Kind::Item, .item = item, .opensSubmenu = (flags & MF_POPUP) != 0};
}

} // namespace portmaven::win
