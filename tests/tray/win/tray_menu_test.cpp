// The tray menu realised on real Win32 menus from the program's own templates and bitmaps.
#include "tray/win/tray_menu.h"

#include "tray/menu_ids.h"
#include "tray/win/menu_picture_checks.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace portmaven::win {
namespace {

std::vector<ports::SerialPort> Ports(std::initializer_list<std::u16string_view> labels) {
    std::vector<ports::SerialPort> ports;
    for (const std::u16string_view label : labels) {
        ports.push_back({u"COM1", u"1", std::u16string(label)});
    }
    return ports;
}

tray::TrayMenuModel Model(const std::vector<ports::SerialPort>& ports,
                          const config::CommandList& commands) {
    return tray::BuildTrayMenuModel(ports, commands, tray::kWindowsLayout);
}

config::CommandList Commands(std::initializer_list<std::u16string_view> names) {
    config::CommandList list;
    for (std::u16string_view name : names) {
        list.AppendCommand(config::MakeCommandRecord(name, u"tool.exe %PORTNUM%"));
    }
    return list;
}

struct ItemInfo {
    UINT id = 0;
    UINT state = 0;
    HMENU submenu = nullptr;
    HBITMAP unchecked = nullptr;
    HBITMAP checked = nullptr;
    std::wstring text;
};

ItemInfo Item(HMENU menu, UINT position) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 255;
    EXPECT_TRUE(::GetMenuItemInfoW(menu, position, TRUE, &info)) << "position " << position;
    return {info.wID, info.fState, info.hSubMenu, info.hbmpUnchecked, info.hbmpChecked, text};
}

using menu_checks::ExpectPictureFillsCheckBox;

class TrayMenuWin : public ::testing::Test {
protected:
    void SetUp() override {
        owner_ = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override { ::DestroyWindow(owner_); }

    HWND owner_ = nullptr;
};

TEST_F(TrayMenuWin, PortEntriesShareOneCommandSubmenuAboveTheTemplateItems) {
    TrayMenu menu(::GetModuleHandleW(nullptr));
    ASSERT_TRUE(menu.LoadTemplates());
    // Names from data show as written: the adapter keeps the model's doubled "&".
    std::vector<ports::SerialPort> ports = Ports({u"USB Serial Port (COM3)", u" (COM5)"});
    ports[1].device = {.vendorId = u"0403", .serial = u"A5", .manufacturer = u"R&D"};
    ports[1].launch.defaultCommand = u"Log";
    const config::CommandList commandList = Commands({u"Tera", u"Build & Flash", u"Log"});
    ASSERT_TRUE(menu.Fill(Model(ports, commandList)));

    const HMENU main = menu.MainPopup();
    ASSERT_EQ(::GetMenuItemCount(main), 8);
    const ItemInfo first = Item(main, 0);
    const ItemInfo second = Item(main, 1);
    EXPECT_EQ(first.text, L"USB Serial Port (COM3)");
    EXPECT_EQ(second.text, L" (COM5)");
    EXPECT_EQ(first.submenu, menu.CommandPopup());
    EXPECT_EQ(second.submenu, menu.CommandPopup());
    EXPECT_NE(first.unchecked, nullptr);
    EXPECT_EQ(first.checked, nullptr);

    const int fixedIds[] = {tray::kBlankItemId, tray::kDeviceManagerId, tray::kPropertiesId, 0,
                            tray::kAboutId,     tray::kExitId};
    for (UINT i = 0; i < 6; ++i) {
        EXPECT_EQ(Item(main, 2 + i).id, static_cast<UINT>(fixedIds[i]))
            << "template position " << i;
    }
    EXPECT_EQ(Item(main, 3).text, L"Device Manager");
    EXPECT_EQ(Item(main, 7).text, L"Exit");

    const HMENU commands = menu.CommandPopup();
    // The commands, then each port's own items once, shared like the commands.
    ASSERT_EQ(::GetMenuItemCount(commands), 8);
    EXPECT_EQ(Item(commands, 3).id, 0u);
    const int portIds[] = {tray::kPortDetailsId, tray::kCopyPortNameId, tray::kPortSettingsId,
                           tray::kHidePortId};
    const wchar_t* portTexts[] = {L"No device details", L"Copy Port Name", L"Port Settings\u2026",
                                  L"Hide Port"};
    for (UINT i = 0; i < 4; ++i) {
        const ItemInfo item = Item(commands, 4 + i);
        EXPECT_EQ(item.id, static_cast<UINT>(portIds[i]));
        EXPECT_EQ(item.text, portTexts[i]);
        EXPECT_EQ((item.state & MFS_GRAYED) != 0, i == 0) << portTexts[i];
    }
    // The popup opens under the second port: its details line is that port's, and so is the
    // default item; opened under the first port again, it has none.
    EXPECT_TRUE(ShowPortDetails(commands, ports, 1, commandList));
    EXPECT_EQ(Item(commands, 4).text, L"R&&D \u00b7 SN A5");
    EXPECT_NE(Item(commands, 4).state & MFS_GRAYED, 0u);
    EXPECT_EQ(::GetMenuDefaultItem(commands, FALSE, 0), 503u);
    EXPECT_NE(Item(commands, 2).state & MFS_DEFAULT, 0u);
    EXPECT_TRUE(ShowPortDetails(commands, ports, 0, commandList));
    EXPECT_EQ(::GetMenuDefaultItem(commands, FALSE, 0), static_cast<UINT>(-1));
    EXPECT_FALSE(ShowPortDetails(commands, ports, 2, commandList));
    EXPECT_FALSE(ShowPortDetails(menu.MainPopup(), ports, 0, commandList));
    const wchar_t* names[] = {L"Tera", L"Build && Flash", L"Log"};
    for (UINT i = 0; i < 3; ++i) {
        const ItemInfo item = Item(commands, i);
        EXPECT_EQ(item.id, tray::kFirstCommandId + i);
        EXPECT_EQ(item.text, names[i]);
        EXPECT_EQ(item.state & MFS_GRAYED, 0u);
        EXPECT_NE(item.unchecked, nullptr);
    }
}

TEST_F(TrayMenuWin, EveryPictureFillsTheCheckMarkBoxCentred) {
    TrayMenu menu(::GetModuleHandleW(nullptr));
    ASSERT_TRUE(menu.LoadTemplates());
    ASSERT_TRUE(menu.Fill(Model(Ports({u"P (COM1)"}), Commands({u"C"}))));

    // Port entry, command, Device Manager, Properties, About, Exit.
    const std::pair<HMENU, UINT> pictured[] = {
        {menu.MainPopup(), 0}, {menu.CommandPopup(), 0}, {menu.MainPopup(), 2},
        {menu.MainPopup(), 3}, {menu.MainPopup(), 5},    {menu.MainPopup(), 6},
    };
    for (const auto& [popup, position] : pictured) {
        const ItemInfo item = Item(popup, position);
        ASSERT_NE(item.unchecked, nullptr) << "position " << position;
        ExpectPictureFillsCheckBox(item.unchecked, menu_checks::MenuCheckBoxOfThisProcess());
    }
    // The placeholder and the separator have no picture.
    EXPECT_EQ(Item(menu.MainPopup(), 1).unchecked, nullptr);
    // One bitmap per picture, however many items show it.
    EXPECT_EQ(menu.BitmapHandles().size(), 6u);
}

TEST_F(TrayMenuWin, PlaceholdersWhenThereIsNoPortAndNoCommand) {
    TrayMenu menu(::GetModuleHandleW(nullptr));
    ASSERT_TRUE(menu.LoadTemplates());
    ASSERT_TRUE(menu.Fill(Model({}, config::CommandList{})));

    ASSERT_EQ(::GetMenuItemCount(menu.MainPopup()), 7);
    const ItemInfo noPorts = Item(menu.MainPopup(), 0);
    EXPECT_EQ(noPorts.id, static_cast<UINT>(tray::kNoSerialPortsId));
    EXPECT_EQ(noPorts.text, L"<No Serial Ports>");
    EXPECT_NE(noPorts.state & MFS_GRAYED, 0u);
    EXPECT_EQ(Item(menu.MainPopup(), 1).id, static_cast<UINT>(tray::kBlankItemId));

    ASSERT_EQ(::GetMenuItemCount(menu.CommandPopup()), 1);
    const ItemInfo empty = Item(menu.CommandPopup(), 0);
    EXPECT_EQ(empty.id, 501u);
    EXPECT_EQ(empty.text, L"<Empty>");
    EXPECT_NE(empty.state & MFS_GRAYED, 0u);
}

TEST_F(TrayMenuWin, TracksRightAlignedThenReleasesMenusAndBitmaps) {
    std::vector<HBITMAP> bitmaps;
    HMENU main = nullptr;
    HMENU commands = nullptr;
    int trackCalls = 0;
    {
        TrayMenu menu(::GetModuleHandleW(nullptr));
        ASSERT_TRUE(menu.LoadTemplates());
        ASSERT_TRUE(menu.Fill(Model(Ports({u"A (COM1)", u"B (COM2)"}), Commands({u"X", u"Y"}))));
        main = menu.MainPopup();
        commands = menu.CommandPopup();
        menu.Track(owner_, POINT{300, 200}, [&](HMENU popup, UINT flags, POINT at, HWND owner) {
            ++trackCalls;
            EXPECT_EQ(popup, main);
            EXPECT_EQ(flags, static_cast<UINT>(TPM_RIGHTALIGN));
            EXPECT_EQ(at.x, 300);
            EXPECT_EQ(at.y, 200);
            EXPECT_EQ(owner, owner_);
            bitmaps = menu.BitmapHandles();
            for (HBITMAP bitmap : bitmaps) {
                EXPECT_EQ(::GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));
            }
        });
        MSG msg{};
        EXPECT_TRUE(::PeekMessageW(&msg, owner_, WM_NULL, WM_NULL, PM_REMOVE))
            << "no WM_NULL posted after tracking";
        EXPECT_TRUE(::IsMenu(main));
    }
    EXPECT_EQ(trackCalls, 1);
    ASSERT_EQ(bitmaps.size(), 6u);
    for (HBITMAP bitmap : bitmaps) {
        EXPECT_EQ(::GetObjectType(bitmap), 0u) << "a menu bitmap outlived its menu";
    }
    EXPECT_FALSE(::IsMenu(main));
    EXPECT_FALSE(::IsMenu(commands));
}

TEST_F(TrayMenuWin, ShowsNothingWhenThePortsCannotBeEnumerated) {
    int tracked = 0;
    const std::vector<ports::SerialPort> none;
    EXPECT_FALSE(ShowTrayMenu(
        owner_, POINT{0, 0}, [] { return false; }, none, Commands({u"X"}),
        [&](HMENU, UINT, POINT, HWND) { ++tracked; }));
    EXPECT_EQ(tracked, 0);
}

TEST_F(TrayMenuWin, ShowsThePortsFoundByTheRefreshOfThisClick) {
    std::vector<ports::SerialPort> present = Ports({u"Stale (COM9)"});
    std::wstring firstEntry;
    int entries = 0;
    EXPECT_TRUE(ShowTrayMenu(
        owner_, POINT{0, 0},
        [&] {
            present = Ports({u"Fresh (COM1)", u"Fresh (COM2)"});
            return true;
        },
        present, Commands({u"X"}),
        [&](HMENU popup, UINT, POINT, HWND) {
            firstEntry = Item(popup, 0).text;
            entries = ::GetMenuItemCount(popup) - 6;
        }));
    EXPECT_EQ(firstEntry, L"Fresh (COM1)");
    EXPECT_EQ(entries, 2);
}

} // namespace
} // namespace portmaven::win
