// The About box from its real template (the test program carries Portmaven's resources): the
// link it configures, the colour requests its message map reflects, and the GDI objects that
// go with the box.
#include "about/win/about_dialog.h"

#include "about/about_texts.h"
#include "framework/win/dpi.h"
#include "framework/win/scoped_handle.h"
#include "framework/win/wide_text.h"
#include "resource.h"
#include "support/win/dialog_dpi_change.h"
#include "support/win/window_query.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

namespace portmaven::win {
namespace {

using test_support::ClassName;
using test_support::RequestColours;

// The homepage address as the link's own font sets it.
SIZE HomepageExtent(HWND link) {
    SIZE extent{};
    ScopedWindowDC dc(link);
    ScopedSelectObject font(dc.Get(),
                            reinterpret_cast<HFONT>(::SendMessageW(link, WM_GETFONT, 0, 0)));
    const std::wstring caption = ToWide(about::kHomepageUrl);
    ::GetTextExtentPoint32W(dc.Get(), caption.c_str(), static_cast<int>(caption.size()), &extent);
    return extent;
}

std::wstring ToolTipTextFor(HWND tool) {
    struct Search {
        HWND tool;
        std::wstring text;
    } search{tool, {}};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            if (ClassName(window) != TOOLTIPS_CLASSW) {
                return TRUE;
            }
            wchar_t text[128] = {};
            TOOLINFOW info{};
            info.cbSize = TTTOOLINFOW_V2_SIZE;
            info.hwnd = s->tool;
            info.uId = 1;
            info.lpszText = text;
            ::SendMessageW(window, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&info));
            s->text = text;
            return s->text.empty();
        },
        reinterpret_cast<LPARAM>(&search));
    return search.text;
}

// Looks at the box once it is initialised, then closes it.
class InspectedAboutDlg : public CAboutDlg {
public:
    bool inspected = false;
    HFONT lastLinkFont = nullptr;

protected:
    BOOL OnInitDialog() override {
        const BOOL result = CAboutDlg::OnInitDialog();
        EXPECT_TRUE(result);
        Inspect();
        EndDialog(IDOK);
        return result;
    }

private:
    void Inspect() {
        HWND dialog = GetSafeHwnd();
        HWND link = GetDlgItem(IDC_HOMEPAGE_LINK);
        ASSERT_NE(link, nullptr);
        EXPECT_EQ(GetItemText(IDC_HOMEPAGE_LINK), ToWide(about::kHomepageUrl));
        EXPECT_NE(::GetWindowLongW(link, GWL_STYLE) & SS_NOTIFY, 0);
        EXPECT_EQ(ToolTipTextFor(link), L"Portmaven Homepage");

        // Shrunk to the caption in the control's font, at most the template width.
        RECT templateRect{40, 43, 40 + 111, 43 + 8};
        ::MapDialogRect(dialog, &templateRect);
        const SIZE extent = HomepageExtent(link);
        RECT linkRect{};
        ::GetWindowRect(link, &linkRect);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&linkRect), 2);
        EXPECT_EQ(linkRect.left, templateRect.left);
        EXPECT_EQ(linkRect.top, templateRect.top);
        EXPECT_LT(extent.cx, templateRect.right - templateRect.left);
        EXPECT_EQ(linkRect.right - linkRect.left, extent.cx);
        EXPECT_EQ(linkRect.bottom - linkRect.top, extent.cy + 2);

        // At rest: blue, transparent, not underlined.
        const auto rest = RequestColours(dialog, link);
        EXPECT_EQ(rest.text, RGB(0, 0, 255));
        EXPECT_EQ(rest.bkMode, TRANSPARENT);
        ASSERT_NE(rest.font, nullptr);
        EXPECT_FALSE(rest.underlined);

        // Hovered: the hand, red and underlined.
        ::SendMessageW(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link),
                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        HCURSOR hand =
            ::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_LINK_CURSOR));
        ASSERT_NE(hand, nullptr);
        EXPECT_EQ(::GetCursor(), hand);
        const auto hover = RequestColours(dialog, link);
        EXPECT_EQ(hover.text, RGB(255, 0, 0));
        EXPECT_TRUE(hover.underlined);
        EXPECT_EQ(::GetObjectType(rest.font), 0u) << "the previous link font was kept";
        lastLinkFont = hover.font;
        inspected = true;
    }
};

TEST(AboutDlg, ConfiguresTheLinkAndReleasesItsFontWhenClosed) {
    HFONT font = nullptr;
    {
        InspectedAboutDlg about;
        EXPECT_EQ(about.DoModal(), IDOK);
        ASSERT_TRUE(about.inspected);
        font = about.lastLinkFont;
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(::GetObjectType(font), static_cast<DWORD>(OBJ_FONT))
            << "the link's font belongs to the box until the box object goes";
    }
    EXPECT_EQ(::GetObjectType(font), 0u) << "the link font outlived the About box";
}

// Moved to a monitor at twice its DPI once it is up, then closed.
class MovedAboutDlg : public CAboutDlg {
public:
    bool moved = false;

protected:
    BOOL OnInitDialog() override {
        const BOOL result = CAboutDlg::OnInitDialog();
        Move();
        EndDialog(IDOK);
        return result;
    }

private:
    void Move() {
        const HWND dialog = GetSafeHwnd();
        const HWND link = GetDlgItem(IDC_HOMEPAGE_LINK);
        const UINT oldDpi = Dpi();
        const UINT newDpi = oldDpi * 2;
        dpi_testing::MoveToDpi(dialog, newDpi, oldDpi);
        EXPECT_EQ(Dpi(), newDpi);
        dpi_testing::ExpectTextsFit(dialog, 0);

        // The link fits its text in the new font again, and hovering underlines that font.
        const SIZE extent = HomepageExtent(link);
        RECT linkRect{};
        ::GetClientRect(link, &linkRect);
        EXPECT_EQ(linkRect.right, extent.cx);
        EXPECT_EQ(linkRect.bottom, extent.cy + 2);
        ::SendMessageW(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link),
                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        const auto hover = RequestColours(dialog, link);
        ASSERT_NE(hover.font, nullptr);
        LOGFONTW linkFont{};
        ::GetObjectW(hover.font, sizeof linkFont, &linkFont);
        EXPECT_TRUE(linkFont.lfUnderline);
        EXPECT_EQ(std::abs(linkFont.lfHeight), dpi_testing::FontHeight(dialog));

        // The icon is the large size of the new DPI.
        HWND iconControl = ::GetWindow(dialog, GW_CHILD);
        while (iconControl != nullptr &&
               (::GetWindowLongW(iconControl, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
            iconControl = ::GetWindow(iconControl, GW_HWNDNEXT);
        }
        ASSERT_NE(iconControl, nullptr);
        const auto icon = reinterpret_cast<HICON>(::SendMessageW(iconControl, STM_GETICON, 0, 0));
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(icon, &info));
        BITMAP colour{};
        ::GetObjectW(info.hbmColor, sizeof colour, &colour);
        ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
        EXPECT_EQ(colour.bmWidth, SystemMetricForDpi(SM_CXICON, newDpi));
        moved = true;
    }
};

TEST(AboutDlg, FollowsItsMonitorToTwiceTheScaling) {
    MovedAboutDlg about;
    EXPECT_EQ(about.DoModal(), IDOK);
    EXPECT_TRUE(about.moved);
}

} // namespace
} // namespace portmaven::win
