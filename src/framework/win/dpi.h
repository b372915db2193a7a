// Display scaling. The DPI functions that only newer systems have are resolved from user32 and
// shcore at run time, so that the program still starts where they are missing; each answer falls
// back to what every system has (the system's DPI and metrics).
#pragma once

#include "framework/win/scoped_handle.h"

#include <windows.h>

namespace portmaven::win {

inline constexpr UINT kDefaultDpi = USER_DEFAULT_SCREEN_DPI;

// The DPI of the system: the primary monitor's when the user logged on.
UINT SystemDpi() noexcept;

// The DPI the window is shown at; the system DPI where windows have no DPI of their own.
UINT WindowDpi(HWND window) noexcept;

// The DPI of the monitor that holds this screen point; the system DPI where monitors have none.
UINT DpiAtPoint(POINT at) noexcept;

// A system metric (SM_...) as it is at this DPI: the system's own answer where it has one, else
// the metric at the system DPI scaled to this one.
int SystemMetricForDpi(int index, UINT dpi) noexcept;

// `value` at `dpi`, from its size at `fromDpi`, rounded to the nearest pixel.
inline int ScaleForDpi(int value, UINT dpi, UINT fromDpi = kDefaultDpi) noexcept {
    return ::MulDiv(value, static_cast<int>(dpi), static_cast<int>(fromDpi));
}

// Leaves the layout and fonts of a dialog to the program when its DPI changes: newer systems
// would otherwise scale it themselves as well. Nothing happens where the function is missing.
void TakeOverDialogDpiChanges(HWND dialog) noexcept;

// The icon resource `id` at `size` pixels square, scaled down from the nearest larger image the
// resource holds (comctl32's LoadIconWithScaleDown where it exists, else LoadImageW); null when
// it does not load. The caller owns it.
ScopedIcon LoadIconAtSize(HINSTANCE module, int id, int size) noexcept;

// The small icon (window caption, notification area, notices) and the large icon (Alt+Tab, the
// About box) of resource `id` at this DPI.
ScopedIcon LoadSmallIcon(HINSTANCE module, int id, UINT dpi) noexcept;
ScopedIcon LoadLargeIcon(HINSTANCE module, int id, UINT dpi) noexcept;

} // namespace portmaven::win
