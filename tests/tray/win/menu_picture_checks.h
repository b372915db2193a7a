// What every picture of the tray menu must look like, whatever the scaling: a 32-bit bitmap of
// the check-mark box's size, opaque, the picture centred in it and large enough for the box.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace portmaven::win::menu_checks {

// The check-mark box the menus of this process draw item bitmaps into.
inline SIZE MenuCheckBoxOfThisProcess() {
    return {::GetSystemMetrics(SM_CXMENUCHECK), ::GetSystemMetrics(SM_CYMENUCHECK)};
}

inline void ExpectPictureFillsCheckBox(HBITMAP bitmap, SIZE box) {
    BITMAP data{};
    ASSERT_EQ(::GetObjectW(bitmap, sizeof(data), &data), static_cast<int>(sizeof(data)));
    EXPECT_EQ(data.bmBitsPixel, 32);
    ASSERT_EQ(data.bmWidth, box.cx);
    ASSERT_EQ(data.bmHeight, box.cy);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = box.cx;
    info.bmiHeader.biHeight = -box.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint8_t> pixels(static_cast<size_t>(box.cx) * static_cast<size_t>(box.cy) * 4);
    const HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(box.cy), pixels.data(), &info,
                                 DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    ASSERT_EQ(rows, box.cy);

    const COLORREF face = ::GetSysColor(COLOR_MENU);
    LONG left = box.cx;
    LONG right = -1;
    LONG top = box.cy;
    LONG bottom = -1;
    int translucent = 0;
    for (LONG y = 0; y < box.cy; ++y) {
        for (LONG x = 0; x < box.cx; ++x) {
            const std::uint8_t* p = &pixels[(static_cast<size_t>(y) * box.cx + x) * 4];
            translucent += p[3] != 255 ? 1 : 0;
            const bool isFace =
                p[0] == GetBValue(face) && p[1] == GetGValue(face) && p[2] == GetRValue(face);
            if (!isFace) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    // The menu copies the bitmap: a pixel that is not opaque would show black there.
    EXPECT_EQ(translucent, 0);
    ASSERT_GE(right, 0) << "the bitmap shows no picture";
    const LONG width = right - left + 1;
    const LONG height = bottom - top + 1;
    // A picture drawn for a smaller scaling would leave most of the box empty.
    EXPECT_GE(std::max(width, height) * 10, std::max(box.cx, box.cy) * 6)
        << "picture " << width << "x" << height << " in a box " << box.cx << "x" << box.cy;
    // Centred: the rows above and below it differ by a pixel or two, the columns too.
    EXPECT_LE(std::abs(top - (box.cy - 1 - bottom)), 2) << "top " << top << ", bottom " << bottom;
    EXPECT_LE(std::abs(left - (box.cx - 1 - right)), 2) << "left " << left << ", right " << right;
}

} // namespace portmaven::win::menu_checks
