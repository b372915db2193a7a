// The menu's pictures made for each display scaling from the program's own resources, and the
// real tray menu at the scaling the test process runs at.
#include "tray/win/menu_bitmaps.h"

#include "tray/win/menu_picture_checks.h"
#include "tray/win/tray_menu.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace portmaven::win {
namespace {

using menu_checks::ExpectPictureFillsCheckBox;

constexpr int kPictures[] = {IDB_PORT,       IDB_COMMAND, IDB_DEVICE_MANAGER,
                             IDB_PROPERTIES, IDB_ABOUT,   IDB_EXIT};

// The check-mark box at a DPI as the system states it, without the program's fallbacks.
SIZE CheckBoxAt(UINT dpi) {
    using ForDpi = int(WINAPI*)(int, UINT);
    const auto forDpi = reinterpret_cast<ForDpi>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
    if (forDpi == nullptr) {
        return {};
    }
    return {forDpi(SM_CXMENUCHECK, dpi), forDpi(SM_CYMENUCHECK, dpi)};
}

class MenuBitmapsAtScaling : public ::testing::TestWithParam<UINT> {};

TEST_P(MenuBitmapsAtScaling, EveryPictureIsMadeForTheBoxOfThatScaling) {
    const SIZE box = CheckBoxAt(GetParam());
    if (box.cx == 0) {
        GTEST_SKIP() << "this system has no metrics per DPI";
    }
    MenuBitmaps bitmaps(::GetModuleHandleW(nullptr), GetParam());
    for (const int id : kPictures) {
        SCOPED_TRACE("picture " + std::to_string(id));
        const HBITMAP bitmap = bitmaps.Get(id);
        ASSERT_NE(bitmap, nullptr);
        ExpectPictureFillsCheckBox(bitmap, box);
        EXPECT_EQ(bitmaps.Get(id), bitmap) << "made twice";
    }
}

INSTANTIATE_TEST_SUITE_P(Dpi, MenuBitmapsAtScaling, ::testing::Values(96, 120, 144, 168, 192));

TEST(MenuBitmaps, PicksTheLargestDrawingThatFitsTheBox) {
    // 13 of a picture's 16 units are drawn on: a 16-pixel picture fits a 13-pixel box.
    EXPECT_EQ(MenuPictureSize(9), 16);
    EXPECT_EQ(MenuPictureSize(13), 16);
    EXPECT_EQ(MenuPictureSize(16), 16);
    EXPECT_EQ(MenuPictureSize(17), 20);
    EXPECT_EQ(MenuPictureSize(19), 20);
    EXPECT_EQ(MenuPictureSize(20), 24);
    EXPECT_EQ(MenuPictureSize(25), 24);
    EXPECT_EQ(MenuPictureSize(26), 32);
    EXPECT_EQ(MenuPictureSize(64), 32);
}

TEST(MenuBitmaps, APictureThatIsNotThereGivesNoBitmap) {
    MenuBitmaps bitmaps(::GetModuleHandleW(nullptr), 96);
    EXPECT_EQ(bitmaps.Get(4242), nullptr);
    // A menu template is no picture either.
    EXPECT_EQ(bitmaps.Get(IDR_TRAY_MENU), nullptr);
    EXPECT_TRUE(bitmaps.Handles().empty());
}

// The scaling this run was started at (PORTMAVEN_WINE_DPI); 0 when the run did not set one.
UINT RequestedDpi() {
    const char* value = std::getenv("PORTMAVEN_WINE_DPI");
    return value != nullptr ? static_cast<UINT>(std::strtoul(value, nullptr, 10)) : 0;
}

TEST(TrayMenuAtDisplayScaling, EveryPictureFillsTheBoxTheMenuDrawsAtThisScaling) {
    const HDC screen = ::GetDC(nullptr);
    const UINT dpi = static_cast<UINT>(::GetDeviceCaps(screen, LOGPIXELSY));
    ::ReleaseDC(nullptr, screen);
    if (const UINT requested = RequestedDpi(); requested != 0) {
        ASSERT_EQ(dpi, requested) << "the process does not run at the scaling it was started at";
    }
    const SIZE box = menu_checks::MenuCheckBoxOfThisProcess();
    // The box grows with the scaling: from 13 pixels or more at 96 DPI.
    EXPECT_GE(static_cast<UINT>(box.cy) * 8, dpi) << "check-mark box " << box.cy << " at " << dpi;

    const HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr,
                                         nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    config::CommandList commands;
    commands.AppendCommand(config::MakeCommandRecord(u"Terminal", u"term.exe %PORT%"));
    const std::vector<ports::SerialPort> present = {{u"COM3", u"3", u"USB Serial Port (COM3)"}};
    int pictures = 0;
    const bool shown = ShowTrayMenu(
        owner, POINT{200, 200}, [] { return true; }, present, commands,
        [&](HMENU popup, UINT, POINT, HWND) {
            MENUITEMINFOW port{};
            port.cbSize = sizeof(port);
            port.fMask = MIIM_SUBMENU;
            ASSERT_TRUE(::GetMenuItemInfoW(popup, 0, TRUE, &port));
            // Port entry, Device Manager, Properties, About, Exit; then the command.
            const std::pair<HMENU, UINT> pictured[] = {{popup, 0}, {popup, 2}, {popup, 3},
                                                       {popup, 5}, {popup, 6}, {port.hSubMenu, 0}};
            for (const auto& [menu, position] : pictured) {
                SCOPED_TRACE("position " + std::to_string(position));
                MENUITEMINFOW item{};
                item.cbSize = sizeof(item);
                item.fMask = MIIM_CHECKMARKS;
                ASSERT_TRUE(::GetMenuItemInfoW(menu, position, TRUE, &item));
                ASSERT_NE(item.hbmpUnchecked, nullptr);
                ExpectPictureFillsCheckBox(item.hbmpUnchecked, box);
                ++pictures;
            }
        });
    ::DestroyWindow(owner);
    EXPECT_TRUE(shown);
    EXPECT_EQ(pictures, 6);
}

} // namespace
} // namespace portmaven::win
