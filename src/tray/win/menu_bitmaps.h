// The pictures beside the tray menu's items, made for the DPI the menu is shown at. Each picture
// is drawn at several sizes; the one that suits the menu's check-mark box is put, centred, into
// a bitmap exactly that box's size, since the menu copies the box and nothing around it.
#pragma once

#include "framework/win/scoped_handle.h"

#include <windows.h>

#include <utility>
#include <vector>

namespace portmaven::win {

// The sizes each picture is drawn at, smallest first. The smallest is under the picture's base
// resource id, the others at the base id plus 1000, 2000 and 3000.
inline constexpr int kMenuPictureSizes[] = {16, 20, 24, 32};
// Every picture keeps a margin: what it shows lies within 13 of its 16 units.
inline constexpr int kMenuPictureUnits = 16;
inline constexpr int kMenuPictureContentUnits = 13;

// The width and height of the menu's check-mark box at this DPI.
SIZE MenuCheckSize(UINT dpi) noexcept;

// The drawn size that suits a check-mark box `boxSize` pixels wide and high: the largest whose
// picture, without its margin, fits in the box; the smallest when none does.
int MenuPictureSize(int boxSize) noexcept;

// The resource id of the picture `baseId` drawn at `pictureSize`.
int MenuPictureResourceId(int baseId, int pictureSize) noexcept;

// The bitmaps shown in one menu, each made at most once for it. The menu does not own the
// bitmaps set on its items; these are deleted with this object.
class MenuBitmaps {
public:
    MenuBitmaps(HINSTANCE resources, UINT dpi) noexcept;

    // The picture with this base resource id as a bitmap of the check-mark box's size: a 32-bit
    // top-down DIB section of premultiplied ARGB, the picture centred and laid over the menu's
    // face colour, since the menu copies the bitmap without blending it. Made on first use;
    // null when the picture does not load.
    HBITMAP Get(int bitmapId);

    // Every bitmap handle made so far.
    [[nodiscard]] std::vector<HBITMAP> Handles() const;

    [[nodiscard]] SIZE BoxSize() const noexcept { return box_; }
    [[nodiscard]] int PictureSize() const noexcept { return pictureSize_; }

private:
    HINSTANCE resources_;
    SIZE box_{};
    int pictureSize_ = 0;
    std::vector<std::pair<int, ScopedBitmap>> made_;
};

} // namespace portmaven::win
