// Sizing a text control to its caption.
#pragma once

#include <windows.h>

namespace portmaven::win {

// Resizes `control` (position and sibling order kept) to the extent of its caption in the font
// it reports: the measured width, but at most `maxWidth`, and the measured height plus two
// pixels. A caption wider than `maxWidth` is clipped.
void FitControlToText(HWND control, int maxWidth);

} // namespace portmaven::win
